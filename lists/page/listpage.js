// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The file list's page, its view, after listdata.js in the same script: the
// search field, the folder tree and only the rows in view, filled anew as the
// list scrolls; on paper a plain table. It adds elements and text, never
// markup, and asks nothing of the network.

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
// Numbers and times take the room they need; the texts share the rest.
const columnGroup = element('colgroup');
headings.forEach(function (column) { columnGroup.append(element('col', column.kind)); });
table.prepend(columnGroup);

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
