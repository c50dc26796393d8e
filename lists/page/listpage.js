// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The file list's page: it reads the list from its data element, shows the
// folder tree and only the rows in view, and finds and sorts without asking
// anything of the network. Names are sorted by the order the program wrote
// beside them (list-order), never by the browser's collator, so the page
// sorts as the program does. It adds elements and text, never markup.
'use strict';

(function () {
    const list = JSON.parse(document.getElementById('list-data').textContent);
    const textOrders = JSON.parse(document.getElementById('list-order').textContent);
    const columns = list.columns;
    const fileColumns = [];
    const folderColumns = [];
    columns.forEach(function (column) {
        (column.perFolder ? folderColumns : fileColumns).push(column);
    });

    // The files, in the order the program listed them: which folder each
    // lies in, and each file column's values.
    let fileCount = 0;
    list.folders.forEach(function (folder) { fileCount += folder[1]; });
    const folderOfFile = new Uint32Array(fileCount);
    const folderStart = new Uint32Array(list.folders.length + 1);
    const values = fileColumns.map(function (column) {
        return column.kind === 'text' ? new Array(fileCount) : new Float64Array(fileCount);
    });
    let at = 0;
    list.folders.forEach(function (folder, f) {
        folderStart[f] = at;
        const cells = folder[4];
        const width = fileColumns.length;
        for (let i = 0; i < folder[1]; ++i, ++at) {
            folderOfFile[at] = f;
            for (let c = 0; c < width; ++c) {
                const value = cells[i * width + c];
                values[c][at] = value === null ? NaN : value;
            }
        }
        folder[4] = null;
    });
    folderStart[list.folders.length] = at;

    // The tree: every folder on the way to a listed one, with its files and
    // bytes, and the same with its subfolders. Parents come before children.
    const nodes = [{ name: list.folder, parent: -1, children: new Map(), files: 0, bytes: 0, open: true }];
    const nodeOfFolder = list.folders.map(function (folder) {
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
        nodes[node].files += folder[1];
        nodes[node].bytes += folder[2];
        return node;
    });
    for (let n = nodes.length - 1; n > 0; --n) {
        nodes[nodes[n].parent].files += nodes[n].files;
        nodes[nodes[n].parent].bytes += nodes[n].bytes;
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
            value = list.folders[folderOfFile[file]][3][folderColumns.indexOf(column)];
        } else {
            value = values[fileColumns.indexOf(column)][file];
        }
        return value === null || value !== value ? '' : formats[column.kind](value);
    }

    // What is shown: the files in the chosen order, of the chosen folder and
    // its subfolders, that hold the searched text.
    const state = { sortBy: -1, descending: false, query: '', folder: 0 };
    let order = null; // null: as listed
    let shown = null;

    function identity() {
        const all = new Uint32Array(fileCount);
        for (let i = 0; i < fileCount; ++i) all[i] = i;
        return all;
    }
    // Sorting by a number: each file's value is replaced by its place among
    // the distinct values, so the browser's own fast sort of plain numbers
    // does the work; ties keep the listed order.
    function orderByNumber(key) {
        const distinct = Float64Array.from(key, function (v) { return v !== v ? -Infinity : v; });
        const ranked = new Float64Array(fileCount);
        distinct.sort();
        let count = 0;
        for (let i = 0; i < distinct.length; ++i) {
            if (count === 0 || distinct[i] !== distinct[count - 1]) distinct[count++] = distinct[i];
        }
        for (let i = 0; i < fileCount; ++i) {
            const v = key[i] !== key[i] ? -Infinity : key[i];
            let low = 0;
            let high = count - 1;
            while (low < high) {
                const middle = (low + high) >> 1;
                if (distinct[middle] < v) low = middle + 1; else high = middle;
            }
            ranked[i] = low * fileCount + i;
        }
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
                const value = list.folders[folder][3][f];
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

    function update() {
        const sorted = order === null ? identity() : order;
        let inFolder = null;
        if (state.folder !== 0) {
            const within = new Uint8Array(nodes.length);
            within[state.folder] = 1;
            for (let n = state.folder + 1; n < nodes.length; ++n) within[n] = within[nodes[n].parent];
            inFolder = new Uint8Array(list.folders.length);
            nodeOfFolder.forEach(function (node, f) { inFolder[f] = within[node]; });
        }
        const matches = state.query === '' ? null : matchingFiles(state.query);
        if (inFolder === null && matches === null) {
            shown = sorted;
        } else {
            const kept = new Uint32Array(fileCount);
            let count = 0;
            for (let k = 0; k < fileCount; ++k) {
                const i = sorted[k];
                if ((matches === null || matches[i]) && (inFolder === null || inFolder[folderOfFile[i]])) {
                    kept[count++] = i;
                }
            }
            shown = kept.subarray(0, count);
        }
        status.textContent = (shown.length === fileCount ? filesText(fileCount)
            : grouped(shown.length) + ' von ' + filesText(fileCount)) + ', zusammen ' + sizeText(nodes[0].bytes);
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
    const head = element('thead');
    const body = element('tbody');
    const spacer = element('div');
    const empty = element('p', 'empty', 'Keine Datei gefunden.');
    empty.hidden = true;
    table.append(head, body);
    viewport.append(table, empty);
    scroller.append(viewport, spacer);
    if (nodes.length > 1) main.append(tree);
    main.append(scroller);
    const printed = element('div', 'print');
    document.querySelector('h1').after(search, main, printed);

    // The head: a button per column, which sorts by it, the other way round,
    // then as listed.
    const headRow = element('tr');
    const headings = (list.numbers ? [{ heading: 'Nr.', kind: 'zahl' }] : []).concat(columns);
    const sortButtons = headings.map(function (column, h) {
        const cell = element('th', column.kind === 'text' || column.kind === 'zeit' ? '' : 'number');
        const button = element('button', '', column.heading);
        button.type = 'button';
        button.addEventListener('click', function () { sortClicked(list.numbers ? h - 1 : h); });
        cell.append(button);
        headRow.append(cell);
        return button;
    });
    head.append(headRow);

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
        order = state.sortBy < 0 ? null : orderBy(state.sortBy);
        if (order !== null && state.descending) order.reverse();
        sortButtons.forEach(function (button, h) {
            const c = list.numbers ? h - 1 : h;
            const sorted = c === state.sortBy || (c < 0 && state.sortBy < 0);
            button.parentNode.setAttribute('aria-sort',
                !sorted ? 'none' : state.descending ? 'descending' : 'ascending');
            button.textContent = headings[h].heading + (!sorted || (c < 0 && !list.numbers) ? ''
                : state.descending ? ' ▼' : ' ▲');
        });
        update();
    }

    // Only the rows in view are in the document; scrolling fills them anew.
    let rowHeight = 0;
    let rows = [];
    function rowsInView() {
        return Math.max(1, Math.floor((scroller.clientHeight - head.offsetHeight) / rowHeight));
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
        const beyond = Math.max(0, shown.length - rowsInView());
        // Browsers limit an element's height; past that a pixel scrolls more than a row.
        spacer.style.height = Math.min(beyond * rowHeight, 8000000) + 'px';
        empty.hidden = shown.length > 0;
        paint();
    }
    function paint() {
        const room = scroller.scrollHeight - scroller.clientHeight;
        const beyond = Math.max(0, shown.length - rowsInView());
        const first = room > 0 ? Math.round(scroller.scrollTop / room * beyond) : 0;
        const count = Math.min(rows.length, shown.length - first);
        for (let r = 0; r < count; ++r) {
            const file = shown[first + r];
            const cells = rows[r].children;
            let h = 0;
            if (list.numbers) cells[h++].textContent = String(file + 1);
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
    const rootList = element('ul');
    rootList.append(treeItem(0));
    tree.append(rootList);

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
        const count = Math.min(shown.length, printLimit);
        for (let k = 0; k < count; ++k) {
            const row = element('tr');
            const file = shown[k];
            if (list.numbers) row.append(element('td', 'number', String(file + 1)));
            columns.forEach(function (column) {
                row.append(element('td', column.kind === 'text' || column.kind === 'zeit' ? '' : 'number',
                    cellText(column, file)));
            });
            paperBody.append(row);
        }
        paper.append(paperHead, paperBody);
        printed.replaceChildren(paper);
        if (shown.length > count) {
            printed.append(element('p', '', grouped(shown.length - count) + ' weitere ' +
                (shown.length - count === 1 ? 'Datei' : 'Dateien') + ' nicht gedruckt (höchstens ' +
                grouped(printLimit) + ' Zeilen).'));
        }
    });
    window.addEventListener('afterprint', function () { printed.replaceChildren(); });

    shown = identity();
    sortClicked(-1);
    // The search's index is made once the first rows are shown.
    setTimeout(function () { if (haystack === null) buildHaystack(); }, 50);
}());
