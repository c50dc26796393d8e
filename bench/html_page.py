#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# The html list's page in headless Chromium (selenium, no network): its bytes
# per file, the first rows on screen after navigation, a search typed, a sort
# by size; beside each the page as Lirabel wrote it before (one static table,
# written here as that writer wrote it) for a smaller tree.
#
#   html_page.py LIRABEL BIG_TREE OLD_TREE WORK ROUNDS
#
# Prints one table row per figure, as bench/run.sh gathers them.
import html, locale, os, statistics, subprocess, sys, time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

lirabel, big_tree, old_tree, rounds = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[5])
work = os.path.abspath(sys.argv[4])

# Records, in every document before its own script runs, the time of the
# animation frame after the first row of cells is in a table.
FIRST_ROWS = '''
new MutationObserver(function (changes, observer) {
    if (document.querySelector('tbody tr td') && !(document.querySelector('noscript tbody'))) {
        observer.disconnect();
        requestAnimationFrame(function () { window.firstRows = performance.now(); });
    }
}).observe(document, { childList: true, subtree: true });
'''
# Resolves after the frame that shows what the action changed.
TIMED = '''
const done = arguments[arguments.length - 1];
const start = performance.now();
(%s)();
requestAnimationFrame(function () { setTimeout(function () { done(performance.now() - start); }, 0); });
'''


def old_page(tree, out):
    """The page as the html list was written before: one table, a section per folder."""
    count = total = 0
    with open(out, 'w', encoding='utf-8') as page:
        title = html.escape(f'Dateiliste {tree}, 2026-01-01 00:00')
        page.write(f'<!DOCTYPE html>\n<html lang="de">\n<head>\n<meta charset="utf-8">\n<title>{title}</title>\n'
                   '<style>\nbody { font-family: sans-serif; font-size: 10pt; margin: 1em; }\n'
                   'table { border-collapse: collapse; width: 100%; }\n'
                   'th, td { border-bottom: 1px solid #ccc; padding: 2px 6px; text-align: left;'
                   ' vertical-align: top; overflow-wrap: anywhere; }\n'
                   'td.zahl, th.zahl { text-align: right; white-space: nowrap; }\n</style>\n</head>\n<body>\n'
                   f'<h1>{title}</h1>\n<table>\n<thead><tr><th>Name</th><th>Ordner</th>'
                   '<th class="zahl">Größe (Bytes)</th><th>Geändert</th></tr></thead>\n')
        for folder, subfolders, files in os.walk(tree):
            subfolders.sort(key=locale.strxfrm)
            relative = os.path.relpath(folder, tree)
            heading = tree if relative == '.' else relative + '/'
            rows = [f'<tbody>\n<tr><th colspan="4">{html.escape(heading)}</th></tr>\n']
            for name in sorted(files, key=locale.strxfrm):
                status = os.stat(os.path.join(folder, name))
                stamp = time.strftime('%Y-%m-%d %H:%M:%S', time.localtime(status.st_mtime))
                size = f'{status.st_size:,}'.replace(',', '.')
                rows.append(f'<tr><td>{html.escape(name)}</td><td>{html.escape(relative)}</td>'
                            f'<td class="zahl">{size}</td><td>{stamp}</td></tr>\n')
                count += 1
                total += status.st_size
            if len(rows) > 1:
                page.write(''.join(rows) + '</tbody>\n')
        page.write(f'</table>\n<p>{count} Dateien, zusammen {total} Bytes</p>\n</body>\n</html>\n')
    return count


def browser():
    options = webdriver.ChromeOptions()
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu', '--window-size=1200,900',
                     '--no-first-run', '--disable-background-networking', '--disable-component-update'):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    driver.set_page_load_timeout(600)
    driver.set_script_timeout(600)
    driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': FIRST_ROWS})
    return driver


def first_rows(driver, url):
    print(f'html_page: loading {url}', file=sys.stderr, flush=True)
    driver.get('about:blank')
    driver.get(url)
    for _ in range(6000):
        seen = driver.execute_script('return window.firstRows || 0')
        if seen:
            return seen
        time.sleep(0.1)
    raise RuntimeError(f'no rows in {url}')


def timed(driver, action):
    print(f'html_page: {action.split(chr(10))[0][:70]}', file=sys.stderr, flush=True)
    return driver.execute_async_script(TIMED % action)


def row(what, mine, theirs, ratio, goal, met):
    print(f'| {what} | {mine} | {theirs} | {ratio} | {goal} | {met} |', flush=True)


locale.setlocale(locale.LC_ALL, '')
new = os.path.join(work, 'html-new.html')
started = time.monotonic()
subprocess.run([lirabel, '--liste', '--format', 'html', '--unterordner', '-o', new, big_tree], check=True)
writing = time.monotonic() - started
files = sum(len(names) for _, _, names in os.walk(big_tree))
old = os.path.join(work, 'html-old.html')
old_files = old_page(old_tree, old)
new_per_file = os.path.getsize(new) / files
old_per_file = os.path.getsize(old) / old_files

driver = browser()
SEARCH = """function () {
    const field = document.querySelector('.search input');
    field.value = %r;
    field.dispatchEvent(new Event('input'));
}"""
SIZE = "function () { Array.from(document.querySelectorAll('thead button')).find(b => b.textContent.startsWith('Größe')).click(); }"
shown, searches, sorts, reversed_sorts = [], [], [], []
try:
    # Each round a new load: its first rows, searches typed one key after
    # the other, the first sort by size and the same reversed.
    for _ in range(rounds):
        shown.append(first_rows(driver, 'file://' + new))
        searches += [timed(driver, SEARCH % text) for text in ('4', '42', '421', '4217', '42170')]
        matches = driver.execute_script('return document.querySelector(".status").textContent')
        timed(driver, SEARCH % '')
        sorts.append(timed(driver, SIZE))
        reversed_sorts.append(timed(driver, SIZE))
    old_shown = [first_rows(driver, 'file://' + old)]
    # The page of before has no search: the browser's own find in the page.
    old_search = timed(driver, "function () { window.find('Titel 4217'); }")
    old_loaded = driver.execute_script(
        "const t = performance.getEntriesByType('navigation')[0]; return t.loadEventEnd")
finally:
    driver.quit()

ms = lambda value: f'{value:.0f} ms' if value < 10000 else f'{value / 1000:.1f} s'
met = lambda value, goal: 'yes' if value <= goal else '**no**'
row(f'`--format html --unterordner`, {files} files in 10000 folders: bytes per file',
    f'{new_per_file:.1f} ({os.path.getsize(new) / 1e6:.0f} MB, written in {writing:.1f} s)',
    f'page before, {old_files} files: {old_per_file:.1f}', f'{new_per_file / old_per_file:.2f}×', '≤ 60', met(new_per_file, 60))
first = statistics.median(shown)
row(f'html page, {files} files: first rows visible after navigation', ms(first),
    f'page before, {old_files} files: {ms(statistics.median(old_shown))} (all loaded {ms(old_loaded)})',
    f'{first / statistics.median(old_shown):.2f}×', '≤ 3 s', met(first, 3000))
search = statistics.median(searches)
row(f'html page, {files} files: a search typed, results shown', ms(search),
    f'page before: no search; the browser\'s find {ms(old_search)}', f'{search / old_search:.2f}×', '≤ 200 ms',
    met(search, 200))
sort = statistics.median(sorts)
row(f'html page, {files} files: sorted by size', ms(sort), 'page before: no sort', '–', '≤ 1 s', met(sort, 1000))
print(f'- html page, {files} files: searches typed {", ".join(ms(s) for s in searches[:5])} in the first round '
      f'("4", "42", "421", "4217", "42170": {matches}); first sorts by size {", ".join(ms(s) for s in sorts)}, '
      f'reversed {", ".join(ms(s) for s in reversed_sorts)}.')
