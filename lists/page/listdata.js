// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The file list's page, its data: the list read from the data elements as
// the browser reads them, the folder tree with its counts, the texts of the
// cells, and the orders and the search the view asks for. Names are sorted by
// the order the program wrote beside them (list-order), never by the
// browser's collator, so the page sorts as the program does. The page's
// script is this file and then listpage.js, in one function of its own.
'use strict';

const head = JSON.parse(document.getElementById('list-head').textContent);
const columns = head.columns;
const fileColumns = [];
const folderColumns = [];
columns.forEach(function (column) {
    (column.perFolder ? folderColumns : fileColumns).push(column);
});

// The files, in the order the program listed them: which folder each
// lies in, and each file column's values. They grow as the data's parts
// are read; the natural order of the text columns comes last.
const folders = []; // [path names, files, bytes, values of the folder columns]
const folderStart = [0];
const folderOfFile = [];
const values = fileColumns.map(function () { return []; });
let fileCount = 0;
let textOrders = null;

// The tree: every folder on the way to a listed one, with its files and
// bytes, and the same with its subfolders. Parents come before children.
const nodes = [{ name: head.folder, parent: -1, children: new Map(), files: 0, bytes: 0, open: true }];
const nodeOfFolder = [];

function addFolder(folder) {
    const f = folders.length;
    const cells = folder[4];
    const width = fileColumns.length;
    for (let i = 0; i < folder[1]; ++i) {
        folderOfFile.push(f);
        for (let c = 0; c < width; ++c) {
            const value = cells[i * width + c];
            values[c].push(value === null ? NaN : value);
        }
    }
    fileCount += folder[1];
    folderStart.push(fileCount);
    folder.length = 4;
    folders.push(folder);
    let node = 0;
    folder[0].forEach(function (name) {
        let child = nodes[node].children.get(name);
        if (child === undefined) {
            child = nodes.length;
            nodes.push({ name: name, parent: node, children: new Map(), files: 0, bytes: 0, open: false });
            nodes[node].children.set(name, child);
        }
        node = child;
    });
    nodeOfFolder.push(node);
    for (let n = node; n >= 0; n = nodes[n].parent) {
        nodes[n].files += folder[1];
        nodes[n].bytes += folder[2];
    }
}

// A part is read once the browser has read past it; the last ones when
// the whole page is read. Each is let go once read.
const parts = document.getElementsByClassName('list-part');
function readParts(all) {
    let read = false;
    while (parts.length > 0 && (all || parts[0].nextSibling)) {
        const part = parts[0];
        JSON.parse(part.textContent).forEach(addFolder);
        part.remove();
        read = true;
    }
    return read;
}

// Numbers and times as the program writes them, in German.
function grouped(number) {
    return String(number).replace(/\B(?=(\d{3})+(?!\d))/g, '.');
}
function twoDigits(number) {
    return number < 10 ? '0' + number : String(number);
}
function timeText(seconds) {
    const d = new Date(seconds * 1000);
    return d.getFullYear() + '-' + twoDigits(d.getMonth() + 1) + '-' + twoDigits(d.getDate()) + ' ' +
        twoDigits(d.getHours()) + ':' + twoDigits(d.getMinutes()) + ':' + twoDigits(d.getSeconds());
}
function durationText(seconds) {
    return Math.floor(seconds / 3600) + ':' + twoDigits(Math.floor(seconds / 60) % 60) + ':' +
        twoDigits(seconds % 60);
}
function sizeText(bytes) {
    const units = ['Bytes', 'kB', 'MB', 'GB', 'TB'];
    let unit = 0;
    let size = bytes;
    while (size >= 1000 && unit < units.length - 1) {
        size /= 1000;
        ++unit;
    }
    return (unit === 0 ? String(size) : size.toFixed(1).replace('.', ',')) + ' ' + units[unit];
}
function filesText(count) {
    return grouped(count) + (count === 1 ? ' Datei' : ' Dateien');
}
const formats = {
    text: function (value) { return value; },
    zahl: function (value) { return String(value); },
    bytes: grouped,
    zeit: timeText,
    dauer: durationText
};
function cellText(column, file) {
    let value;
    if (column.perFolder) {
        value = folders[folderOfFile[file]][3][folderColumns.indexOf(column)];
    } else {
        value = values[fileColumns.indexOf(column)][file];
    }
    return value === null || value !== value ? '' : formats[column.kind](value);
}

// Sorting by a number: each file's value and its place in the list make
// one number, value * files + place, so the browser's own sort of plain
// numbers, far faster than one with a comparison function, does the work,
// and ties keep the listed order. Values are whole numbers (bytes,
// seconds); unknown ones come first. Where the product could pass 2^53, a
// value is first replaced by its place among the distinct values.
function orderByNumber(key) {
    let low = Infinity;
    let high = -Infinity;
    for (let i = 0; i < fileCount; ++i) {
        if (key[i] < low) low = key[i];
        if (key[i] > high) high = key[i];
    }
    if (low > high) low = high = 0;
    let valueOf = function (i) { return key[i] !== key[i] ? 0 : key[i] - low + 1; };
    if ((high - low + 2) * fileCount >= Number.MAX_SAFE_INTEGER) {
        const distinct = Float64Array.from(key, function (v) { return v !== v ? -Infinity : v; });
        distinct.sort();
        let count = 0;
        for (let i = 0; i < distinct.length; ++i) {
            if (count === 0 || distinct[i] !== distinct[count - 1]) distinct[count++] = distinct[i];
        }
        valueOf = function (i) {
            const v = key[i] !== key[i] ? -Infinity : key[i];
            let first = 0;
            let last = count - 1;
            while (first < last) {
                const middle = (first + last) >> 1;
                if (distinct[middle] < v) first = middle + 1; else last = middle;
            }
            return first;
        };
    }
    const ranked = new Float64Array(fileCount);
    for (let i = 0; i < fileCount; ++i) ranked[i] = valueOf(i) * fileCount + i;
    ranked.sort();
    const sorted = new Uint32Array(fileCount);
    for (let i = 0; i < fileCount; ++i) sorted[i] = ranked[i] % fileCount;
    return sorted;
}
function orderBy(c) {
    const column = columns[c];
    if (column.kind === 'text' && !column.perFolder) return Uint32Array.from(textOrders[c]);
    if (column.kind === 'text') {
        const sorted = new Uint32Array(fileCount);
        let k = 0;
        textOrders[c].forEach(function (f) {
            for (let i = folderStart[f]; i < folderStart[f + 1]; ++i) sorted[k++] = i;
        });
        return sorted;
    }
    if (column.perFolder) {
        const f = folderColumns.indexOf(column);
        return orderByNumber(Float64Array.from(folderOfFile, function (folder) {
            const value = folders[folder][3][f];
            return value === null ? NaN : value;
        }));
    }
    return orderByNumber(values[fileColumns.indexOf(column)]);
}

// The searched text: each file's text columns in lower case, one after
// the other in one string, so a search is one indexOf per match.
let haystack = null;
let haystackStart = null;
function buildHaystack() {
    const texts = [];
    fileColumns.forEach(function (column, c) {
        if (column.kind === 'text') texts.push(values[c]);
    });
    const parts = new Array(fileCount);
    haystackStart = new Float64Array(fileCount + 1);
    let length = 0;
    for (let i = 0; i < fileCount; ++i) {
        let part = '';
        for (let t = 0; t < texts.length; ++t) part += (t > 0 ? '\u0001' : '') + texts[t][i];
        part = part.toLowerCase();
        parts[i] = part;
        haystackStart[i] = length;
        length += part.length + 1;
    }
    haystackStart[fileCount] = length;
    haystack = parts.join('\u0000');
}
function matchingFiles(query) {
    if (haystack === null) buildHaystack();
    const matches = new Uint8Array(fileCount);
    let file = 0;
    let position = haystack.indexOf(query);
    while (position >= 0) {
        while (haystackStart[file + 1] <= position) ++file;
        matches[file] = 1;
        position = haystack.indexOf(query, haystackStart[file + 1]);
    }
    return matches;
}
