// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The file list's page: it reads the list from its data element, shows the
// folder tree and only the rows in view, and finds and sorts without asking
// anything of the network. Names are sorted by the order the program wrote
// beside them (list-order), never by the browser's collator, so the page
// sorts as the program does. It adds elements and text, never markup.
'use strict';

(function () {
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

    // What is shown: the files in the chosen order, of the chosen folder and
    // its subfolders, that hold the searched text.
    const state = { sortBy: -1, descending: false, query: '', folder: 0 };
    let order = null; // null: as listed
    let shown = null; // null: every file, in the order
    let complete = false;

    function shownCount() {
        return shown === null ? fileCount : shown.length;
    }
    function shownFile(k) {
        return shown === null ? k : shown[k];
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

    // While the parts are read, the list grows as listed; a sort, a search or
    // a chosen folder applies once all is read.
    function update() {
        if (!complete) {
            shown = null;
            status.textContent = filesText(fileCount) + ' gelesen …' +
                (state.sortBy >= 0 || state.query !== '' || state.folder !== 0 ? ' Suche und Sortierung folgen.' : '');
            layout();
            return;
        }
        let inFolder = null;
        if (state.folder !== 0) {
            const within = new Uint8Array(nodes.length);
            within[state.folder] = 1;
            for (let n = state.folder + 1; n < nodes.length; ++n) within[n] = within[nodes[n].parent];
            inFolder = new Uint8Array(folders.length);
            nodeOfFolder.forEach(function (node, f) { inFolder[f] = within[node]; });
        }
        const matches = state.query === '' ? null : matchingFiles(state.query);
        if (inFolder === null && matches === null) {
            shown = order;
        } else {
            const kept = new Uint32Array(fileCount);
            let count = 0;
            for (let k = 0; k < fileCount; ++k) {
                const i = order === null ? k : order[k];
                if ((matches === null || matches[i]) && (inFolder === null || inFolder[folderOfFile[i]])) {
                    kept[count++] = i;
                }
            }
            shown = kept.subarray(0, count);
        }
        status.textContent = (shownCount() === fileCount ? filesText(fileCount)
            : grouped(shownCount()) + ' von ' + filesText(fileCount)) + ', zusammen ' + sizeText(nodes[0].bytes);
        scroller.scrollTop = 0;
        layout();
    }

    function element(tag, className, text) {
        const made = document.createElement(tag);
        if (className) made.className = className;
        if (text !== undefined) made.textContent = text;
        return made;
    }

    // The page's controls, made here so that without script none shows.
    const search = element('div', 'search');
    const field = element('input');
    field.type = 'search';
    field.placeholder = 'Name suchen …';
    field.setAttribute('aria-label', 'Dateien nach Namen durchsuchen');
    const status = element('span', 'status');
    status.setAttribute('role', 'status');
    search.append(field, status);

    const main = element('div', 'main');
    const tree = element('nav', 'tree');
    tree.setAttribute('aria-label', 'Ordner');
    const scroller = element('div', 'list');
    scroller.tabIndex = 0;
    scroller.setAttribute('role', 'region');
    scroller.setAttribute('aria-label', 'Dateien');
    const viewport = element('div', 'viewport');
    const table = element('table');
    const tableHead = element('thead');
    const body = element('tbody');
    const spacer = element('div');
    const empty = element('p', 'empty', 'Keine Datei gefunden.');
    empty.hidden = true;
    table.append(tableHead, body);
    viewport.append(table, empty);
    scroller.append(viewport, spacer);
    if (head.subfolders) main.append(tree);
    tree.append(element('p', 'empty', 'Ordner werden gelesen …'));
    main.append(scroller);
    const printed = element('div', 'print');
    document.querySelector('h1').after(search, main, printed);

    // The head: a button per column, which sorts by it, the other way round,
    // then as listed.
    const headRow = element('tr');
    const headings = (head.numbers ? [{ heading: 'Nr.', kind: 'zahl' }] : []).concat(columns);
    const sortButtons = headings.map(function (column, h) {
        const cell = element('th', column.kind === 'text' || column.kind === 'zeit' ? '' : 'number');
        const button = element('button', '', column.heading);
        button.type = 'button';
        button.addEventListener('click', function () { sortClicked(head.numbers ? h - 1 : h); });
        cell.append(button);
        headRow.append(cell);
        return button;
    });
    tableHead.append(headRow);

    const ascending = []; // by column, once asked for
    function applySort() {
        if (state.sortBy < 0 || !complete) {
            order = null;
            return;
        }
        if (!ascending[state.sortBy]) ascending[state.sortBy] = orderBy(state.sortBy);
        order = state.descending ? ascending[state.sortBy].slice().reverse() : ascending[state.sortBy];
    }
    function sortClicked(c) {
        if (state.sortBy === c && !state.descending && c >= 0) {
            state.descending = true;
        } else if (state.sortBy === c && c >= 0) {
            state.sortBy = -1;
            state.descending = false;
        } else {
            state.sortBy = c;
            state.descending = false;
        }
        applySort();
        sortButtons.forEach(function (button, h) {
            const c = head.numbers ? h - 1 : h;
            const sorted = c === state.sortBy || (c < 0 && state.sortBy < 0);
            button.parentNode.setAttribute('aria-sort',
                !sorted ? 'none' : state.descending ? 'descending' : 'ascending');
            button.textContent = headings[h].heading + (!sorted || (c < 0 && !head.numbers) ? ''
                : state.descending ? ' ▼' : ' ▲');
        });
        update();
    }

    // Only the rows in view are in the document; scrolling fills them anew.
    let rowHeight = 0;
    let rows = [];
    function rowsInView() {
        return Math.max(1, Math.floor((scroller.clientHeight - tableHead.offsetHeight) / rowHeight));
    }
    function layout() {
        if (rowHeight === 0) {
            const probe = element('tr');
            probe.append(element('td', '', 'Ag'));
            body.append(probe);
            rowHeight = probe.getBoundingClientRect().height || 20;
            probe.remove();
        }
        const wanted = rowsInView() + 1;
        while (rows.length < wanted) {
            const row = element('tr');
            headings.forEach(function (column) {
                row.append(element('td', column.kind === 'text' || column.kind === 'zeit' ? '' : 'number'));
            });
            rows.push(row);
        }
        const beyond = Math.max(0, shownCount() - rowsInView());
        // Browsers limit an element's height; past that a pixel scrolls more than a row.
        spacer.style.height = Math.min(beyond * rowHeight, 8000000) + 'px';
        empty.hidden = !complete || shownCount() > 0;
        paint();
    }
    function paint() {
        const room = scroller.scrollHeight - scroller.clientHeight;
        const beyond = Math.max(0, shownCount() - rowsInView());
        const first = room > 0 ? Math.round(scroller.scrollTop / room * beyond) : 0;
        const count = Math.min(rows.length, shownCount() - first);
        for (let r = 0; r < count; ++r) {
            const file = shownFile(first + r);
            const cells = rows[r].children;
            let h = 0;
            if (head.numbers) cells[h++].textContent = String(file + 1);
            for (let c = 0; c < columns.length; ++c) cells[h++].textContent = cellText(columns[c], file);
            if (rows[r].parentNode !== body) body.append(rows[r]);
        }
        for (let r = count; r < rows.length; ++r) rows[r].remove();
    }
    scroller.addEventListener('scroll', paint, { passive: true });
    window.addEventListener('resize', layout);

    field.addEventListener('input', function () {
        state.query = field.value.toLowerCase();
        update();
    });

    // The tree: a folder's subfolders are in the document only while it is open.
    function treeItem(n) {
        const node = nodes[n];
        const item = element('li');
        const toggle = element('button', 'toggle' + (node.children.size === 0 ? ' none' : ''));
        toggle.type = 'button';
        const name = element('button', n === state.folder ? 'chosen' : '', node.name);
        name.type = 'button';
        name.dataset.node = String(n);
        name.title = 'Nur die Dateien dieses Ordners zeigen';
        const counts = element('span', 'counts',
            ' ' + filesText(node.files) + ', ' + sizeText(node.bytes));
        item.append(toggle, name, counts);
        function show() {
            toggle.textContent = node.open ? '▾' : '▸';
            toggle.setAttribute('aria-expanded', String(node.open));
            toggle.setAttribute('aria-label', (node.open ? 'Schließen: ' : 'Öffnen: ') + node.name);
            const old = item.querySelector('ul');
            if (old) old.remove();
            if (node.open && node.children.size > 0) {
                const childList = element('ul');
                node.children.forEach(function (child) { childList.append(treeItem(child)); });
                item.append(childList);
            }
        }
        if (node.children.size === 0) toggle.tabIndex = -1;
        toggle.addEventListener('click', function () {
            node.open = !node.open;
            show();
        });
        name.addEventListener('click', function () {
            state.folder = n;
            tree.querySelectorAll('.chosen').forEach(function (b) { b.classList.remove('chosen'); });
            name.classList.add('chosen');
            update();
        });
        show();
        return item;
    }

    // On paper: the rows shown, at most so many, as a plain table.
    const printLimit = 10000;
    window.addEventListener('beforeprint', function () {
        const paper = element('table');
        const paperHead = element('thead');
        const paperRow = element('tr');
        headings.forEach(function (column) {
            paperRow.append(element('th', column.kind === 'text' || column.kind === 'zeit' ? '' : 'number',
                column.heading));
        });
        paperHead.append(paperRow);
        const paperBody = element('tbody');
        const count = Math.min(shownCount(), printLimit);
        for (let k = 0; k < count; ++k) {
            const row = element('tr');
            const file = shownFile(k);
            if (head.numbers) row.append(element('td', 'number', String(file + 1)));
            columns.forEach(function (column) {
                row.append(element('td', column.kind === 'text' || column.kind === 'zeit' ? '' : 'number',
                    cellText(column, file)));
            });
            paperBody.append(row);
        }
        paper.append(paperHead, paperBody);
        printed.replaceChildren(paper);
        if (shownCount() > count) {
            printed.append(element('p', '', grouped(shownCount() - count) + ' weitere ' +
                (shownCount() - count === 1 ? 'Datei' : 'Dateien') + ' nicht gedruckt (höchstens ' +
                grouped(printLimit) + ' Zeilen).'));
        }
    });
    window.addEventListener('afterprint', function () { printed.replaceChildren(); });

    sortClicked(-1);
    function readMore() {
        if (readParts(false)) update();
        if (!complete) setTimeout(readMore, 20);
    }
    function finish() {
        readParts(true);
        textOrders = JSON.parse(document.getElementById('list-order').textContent);
        complete = true;
        applySort();
        update();
        if (nodes.length > 1) {
            const rootList = element('ul');
            rootList.append(treeItem(0));
            tree.replaceChildren(rootList);
        } else {
            tree.remove();
        }
        // The search's index is made once the rows are shown.
        setTimeout(function () { if (haystack === null) buildHaystack(); }, 50);
    }
    if (document.readyState === 'loading') {
        document.addEventListener('DOMContentLoaded', finish);
        readMore();
    } else {
        finish();
    }
}());
