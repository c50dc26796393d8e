#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Names a list must carry unharmed, through the formats that other programs
# read: json (Python's json and the JSON Schema; every file reopened from the
# bytes the list gives), jsonl (one valid line per file) and md (rendered by
# cmark-gfm, each cell the name as shown).
#
#   hostile_names_test.py LIRABEL SCHEMA

import base64, html.parser, json, os, subprocess, sys, tempfile

import jsonschema

lirabel, schema_path = sys.argv[1:3]
schema = json.load(open(schema_path, encoding='utf-8'))
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print('FAIL:', what)


# Relative paths as bytes; the last part is the file.
names = [b'zeile\nbruch.txt', b'wagen\rr\xc3\xbcck.txt', b'tab\tulator.txt', b'quo"te.txt', b'back\\slash.txt',
         b'pi|pe.txt', b'<script>alert(1)<&>.txt', b'f\xfc\xff.txt', b'x' * 251 + b'.txt', b' vorn.txt',
         b'hinten.txt ', b'*stern*_unter_.txt', b'[link](x).md', b'&amp;.txt', b'`code`.txt', b'# titel.txt',
         b'\xc3\x9cmlaut.txt', b'.versteckt.txt', b'.ordner/drin.txt', b'ordner\xe4/neu\nzeile/tief.txt']
root = tempfile.mkdtemp()
for name in names:
    path = os.path.join(root.encode(), name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    open(path, 'wb').close()
visible = {name for name in names if not any(part.startswith(b'.') for part in name.split(b'/'))}


def run(*arguments, status=0):
    done = subprocess.run([lirabel, '--liste', '--unterordner', *arguments, root], capture_output=True)
    check(done.returncode == status, f'{arguments}: exit {done.returncode}, {done.stderr!r}')
    return done.stdout


def path_of(entry):
    return base64.b64decode(entry['bytes']) if 'bytes' in entry else entry['pfad'].encode()


def file_bytes(folder, file):
    return path_of(folder) + b'/' + (base64.b64decode(file['bytes']) if 'bytes' in file else file['name'].encode())


def reopened(paths, wanted, what):
    for path in paths:
        try:
            open(path, 'rb').close()
        except OSError as error:
            check(False, f'{what}: {path!r} does not open: {error}')
    check(sorted(paths) == sorted(os.path.join(root.encode(), name) for name in wanted),
          f'{what}: the files listed are not the files made')


def check_json(arguments, wanted):
    document = json.loads(run('--format', 'json', *arguments).decode('utf-8'))
    validator.validate(document)
    paths = [file_bytes(folder, file) for folder in document['verzeichnisse'] for file in folder['dateien']]
    reopened(paths, wanted, f'json {arguments}')
    check(document['summen']['dateien'] == len(wanted), f'json {arguments}: the total is not {len(wanted)}')
    check(document['optionen']['versteckte'] == ('--versteckte' in arguments), 'json: optionen lacks --versteckte')


def check_jsonl(arguments, wanted):
    lines = run('--format', 'jsonl', *arguments).decode('utf-8').split('\n')
    check(lines.pop() == '', 'jsonl: the last line has no end')
    paths = []
    for line in lines:
        record = json.loads(line)
        validator.validate(record)
        paths.append(file_bytes(record['verzeichnis'], record))
    reopened(paths, wanted, f'jsonl {arguments}')


class Cells(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.rows, self.headings, self.into = [], [], None

    def handle_starttag(self, tag, attrs):
        if tag == 'tr':
            self.rows.append([])
        if tag in ('td', 'th', 'h2'):
            self.into = tag
            (self.headings if tag == 'h2' else self.rows[-1]).append('')

    def handle_endtag(self, tag):
        self.into = None if tag in ('td', 'th', 'h2') else self.into

    def handle_data(self, text):
        if self.into:
            (self.headings if self.into == 'h2' else self.rows[-1])[-1] += text


def check_md(arguments, wanted):
    # What md must show: the names and folders as json gives them.
    document = json.loads(run('--format', 'json', '--spalten', 'name,ordner', *arguments))
    want_rows = [[file['name'], file['ordner']] for folder in document['verzeichnisse'] for file in folder['dateien']]
    want_headings = [root + folder['pfad'][len(root):] for folder in document['verzeichnisse']]
    rendered = subprocess.run(['cmark-gfm', '-e', 'table'], input=run('--format', 'md', '--spalten', 'name,ordner',
                                                                       *arguments), capture_output=True, check=True)
    cells = Cells()
    cells.feed(rendered.stdout.decode('utf-8'))
    rows = [row for row in cells.rows if row != ['Name', 'Ordner']]
    check(rows == want_rows, f'md {arguments}: cells {rows} are not {want_rows}')
    check(cells.headings == want_headings, f'md {arguments}: headings {cells.headings} are not {want_headings}')
    check(len(rows) == len(wanted), f'md {arguments}: {len(rows)} rows for {len(wanted)} files')


for arguments, wanted in (((), visible), (('--versteckte',), set(names))):
    check_json(arguments, wanted)
    check_jsonl(arguments, wanted)
    check_md(arguments, wanted)

# Shown as a person reads them, so json's names are md's cells too.
shown = {file['name'] for folder in json.loads(run('--format', 'json'))['verzeichnisse'] for file in folder['dateien']}
for name in ('zeile?bruch.txt', 'wagen?rück.txt', 'fü\u00ff.txt', '<script>alert(1)<&>.txt', ' vorn.txt',
             'hinten.txt ', 'Ümlaut.txt', 'x' * 251 + '.txt'):
    check(name in shown, f'json shows no {name!r}')

# The layout of a list for the eye has no place in a list for programs.
for refused in (('--nummern',), ('--ohne-endungen',), ('--leerzeile', '3')):
    for form in ('json', 'jsonl'):
        done = subprocess.run([lirabel, '--liste', '--format', form, *refused, root], capture_output=True)
        check(done.returncode == 2 and done.stdout == b'' and f'{refused[0]} gilt '.encode() in done.stderr,
              f'{form} {refused}: exit {done.returncode}, {done.stderr!r}')

# What was left out, and why: in the document, and for jsonl on standard error.
closed = tempfile.mkdtemp()
os.chmod(closed, 0o755)
os.makedirs(os.path.join(closed, 'zu'), mode=0o000)
open(os.path.join(closed, 'f.txt'), 'w').close()
as_user = ['setpriv', '--reuid=65534', '--regid=65534', '--clear-groups'] if os.geteuid() == 0 else []
for form in ('json', 'jsonl'):
    done = subprocess.run([*as_user, lirabel, '--liste', '--unterordner', '--format', form, closed], capture_output=True)
    said = f'lirabel: Verzeichnis nicht lesbar: {closed}/zu (keine Berechtigung)\n'.encode()
    check(done.returncode == 1 and done.stderr == said, f'{form}: exit {done.returncode}, {done.stderr!r}')
    records = [json.loads(line) for line in ([done.stdout] if form == 'json' else done.stdout.splitlines())]
    for record in records:
        validator.validate(record)
    if form == 'json':
        check(records[0]['ausgelassen'] == [{'pfad': f'{closed}/zu', 'grund': said[9:-1].decode()}],
              f'json: ausgelassen is {records[0]["ausgelassen"]}')
    else:
        check([record['name'] for record in records] == ['f.txt'], f'jsonl: {done.stdout!r}')

subprocess.run(['rm', '-rf', root, closed])
if failures:
    sys.exit(1)
print('hostile names: json, jsonl and md carry every name')
