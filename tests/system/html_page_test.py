#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# The html list in a real browser: headless Chromium driven by selenium, with
# no network. It finds hostile names, sorts by size as stat gives them, opens
# and closes a folder, loads nothing but itself, lets nothing run but its own
# script, and shows the plain table with JavaScript off.
#
#   html_page_test.py LIRABEL
import os, subprocess, sys, tempfile

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print('SKIP: python3-selenium is not installed')
    sys.exit(77)
for program in ('/usr/bin/chromium', '/usr/bin/chromedriver', '/usr/bin/tidy', '/usr/bin/lame',
                '/usr/bin/pdftotext'):
    if not os.path.exists(program):
        print(f'SKIP: {program} is not installed')
        sys.exit(77)

lirabel = sys.argv[1]
root = tempfile.mkdtemp(prefix='lirabel-html-')
tree = os.path.join(root, 'Musik')
names = ['quo"te.txt', 'a&b.txt', 'num#1.txt', '<script>x<.txt', 'Titel 2.txt', 'Titel 10.txt']
os.makedirs(os.path.join(tree, 'sub', 'tief'))
for size, name in enumerate(names):
    with open(os.path.join(tree, name), 'wb') as file:
        file.write(b'x' * (size * 7 % 11 * 100 + size))
with open(os.path.join(tree.encode(), b'f\xfc.txt'), 'wb') as file:
    file.write(b'x' * 3333)
open(os.path.join(tree, 'sub', 'tief', 'unten.txt'), 'w').close()
song = os.path.join(tree, 'sub', 'lied.mp3')
with open(song + '.raw', 'wb') as file:
    file.write(bytes(44100 * 2))
subprocess.run(['lame', '--silent', '-r', '-s', '44.1', '-m', 'm', '--bitwidth', '16', '--signed',
                '--little-endian', song + '.raw', song], check=True)
os.remove(song + '.raw')
subprocess.run(['/usr/bin/python3', '-c', 'import mutagen, sys; f = mutagen.File(sys.argv[1], easy=True); '
                'f.add_tags(); f["title"] = "</script><script>alert(1)</script>"; f.save()', song], check=True)


def page(folder, *arguments):
    out = os.path.join(root, os.path.basename(folder) + '.html')
    subprocess.run([lirabel, '--liste', '--format', 'html', '--unterordner', *arguments, '-o', out, folder],
                   check=True)
    # tidy: 0 clean, 1 warnings, 2 errors.
    tidy = subprocess.run(['tidy', '-errors', '-q', out], capture_output=True, text=True)
    assert tidy.returncode < 2, tidy.stderr
    return 'file://' + out


def browser(javascript=True):
    options = webdriver.ChromeOptions()
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu', '--window-size=1200,900',
                     '--no-first-run', '--disable-background-networking', '--disable-component-update'):
        options.add_argument(argument)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL', 'performance': 'ALL'})
    if not javascript:
        options.add_experimental_option('prefs', {'profile.managed_default_content_settings.javascript': 2})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


def shown(driver):
    return driver.execute_script(
        'return Array.from(document.querySelectorAll(".list tbody tr"), r => Array.from(r.cells, c => c.textContent))')


failures = []
def check(condition, what):
    if not condition:
        failures.append(what)
        print('FAIL:', what)


url = page(tree, '--spalten', 'name,ordner,groesse,titel')
driver = browser()
try:
    driver.get(url)
    WebDriverWait(driver, 30).until(lambda d: shown(d))
    field = driver.find_element(By.CSS_SELECTOR, '.search input')
    # Each search finds its file and nothing else; the name that is not UTF-8
    # as the other lists show it.
    for query, name in (('"', 'quo"te.txt'), ('&', 'a&b.txt'), ('#', 'num#1.txt'), ('<SCRIPT>X', '<script>x<.txt'),
                        ('</script>', 'lied.mp3'), ('FÜ', 'fü.txt')):
        field.send_keys(Keys.CONTROL + 'a' + Keys.NULL + Keys.BACKSPACE + query)
        rows = shown(driver)
        check([row[0] for row in rows] == [name], f'search {query!r} shows {rows}')
    field.send_keys(Keys.CONTROL + 'a' + Keys.NULL + Keys.BACKSPACE)
    check(len(shown(driver)) == 9, 'an empty search shows every file')

    # By size, as stat gives them: ascending, then descending.
    size = driver.find_element(By.XPATH, '//thead//button[starts-with(., "Größe")]')
    size.click()
    folder_of = {'lied.mp3': 'sub', 'unten.txt': 'sub/tief'}
    stat = lambda row: os.stat(os.path.join(tree.encode(), folder_of.get(row[0], '.').encode(),
                                            row[0].replace('fü', 'f\udcfc').encode('utf-8', 'surrogateescape')))
    rows = shown(driver)
    sizes = [stat(row).st_size for row in rows]
    check(sizes == sorted(sizes) and [int(row[2].replace('.', '')) for row in rows] == sizes,
          f'sorted by size: {rows}')
    size.click()
    check([stat(row).st_size for row in shown(driver)] == sorted(sizes, reverse=True), 'sorted by size, descending')
    size.click()
    check(shown(driver)[0][0] == '<script>x<.txt', 'the third click lists as the program did')
    # Names in the program's natural order: Titel 2 before Titel 10.
    driver.find_element(By.XPATH, '//thead//button[starts-with(., "Name")]').click()
    names_sorted = [row[0] for row in shown(driver)]
    check(names_sorted.index('Titel 2.txt') < names_sorted.index('Titel 10.txt'), f'natural order: {names_sorted}')

    # A folder opens and closes; choosing it shows its files only.
    def subfolders():
        return [b.text for b in driver.find_elements(By.CSS_SELECTOR, '.tree button[data-node]')]
    check(subfolders() == [tree, 'sub'], f'tree at first: {subfolders()}')
    toggle = driver.find_element(By.XPATH, '//nav//button[@data-node][.="sub"]/preceding-sibling::button')
    toggle.click()
    check(subfolders() == [tree, 'sub', 'tief'] and toggle.get_attribute('aria-expanded') == 'true', 'opened')
    check('2 Dateien' in driver.find_element(By.XPATH, '//nav//button[.="sub"]/following-sibling::span').text,
          'sub counts its subfolders')
    toggle.click()
    check(subfolders() == [tree, 'sub'], f'closed: {subfolders()}')
    driver.find_element(By.XPATH, '//nav//button[.="sub"]').click()
    check(sorted(row[0] for row in shown(driver)) == ['lied.mp3', 'unten.txt'], 'the chosen folder alone')
    # On paper, the rows shown as a table.
    import base64
    with open(os.path.join(root, 'printed.pdf'), 'wb') as file:
        file.write(base64.b64decode(driver.print_page()))
    printed = subprocess.run(['pdftotext', '-layout', file.name, '-'], capture_output=True, text=True).stdout
    check('lied.mp3' in printed and 'unten.txt' in printed and 'a&b.txt' not in printed, f'printed: {printed}')

    # Nothing but the page was asked for, and nothing went wrong.
    import json
    requests = [json.loads(entry['message'])['message'] for entry in driver.get_log('performance')]
    urls = {m['params']['request']['url'] for m in requests if m['method'] == 'Network.requestWillBeSent'}
    check(urls == {url}, f'requests: {urls}')
    errors = [entry for entry in driver.get_log('browser') if entry['level'] in ('SEVERE', 'WARNING')]
    check(not errors, f'browser log: {errors}')
    # The policy refuses any script, style or load the page did not bring.
    refused = driver.execute_async_script('''
        const done = arguments[0], refused = [];
        document.addEventListener('securitypolicyviolation', e => refused.push(e.effectiveDirective));
        const script = document.createElement('script'); script.textContent = 'window.ran = 1';
        const image = document.createElement('img'); image.src = 'file:///etc/hostname';
        const style = document.createElement('style'); style.textContent = 'body { color: red }';
        document.body.append(script, image, style);
        setTimeout(() => done([refused.sort(), window.ran === undefined]), 500);''')
    check(refused == [['img-src', 'script-src-elem', 'style-src-elem'], True], f'the policy refused {refused}')
finally:
    driver.quit()

# 10000 files: without JavaScript, the plain table.
many = os.path.join(root, 'Viele')
os.makedirs(many)
for n in range(10000):
    open(os.path.join(many, f'Datei {n}.txt'), 'w').close()
url = page(many)
# With JavaScript: the data comes in parts, read while the page loads; all of them count.
driver = browser()
try:
    driver.get(url)
    WebDriverWait(driver, 30).until(lambda d: 'gelesen' not in d.find_element(By.CSS_SELECTOR, '.status').text)
    check(driver.find_element(By.CSS_SELECTOR, '.status').text.startswith('10.000 Dateien'), 'every part read')
    driver.find_element(By.CSS_SELECTOR, '.search input').send_keys('datei 9999')
    check([row[0] for row in shown(driver)] == ['Datei 9999.txt'], 'the last part searched')
finally:
    driver.quit()
driver = browser(javascript=False)
try:
    driver.get(url)
    rows = driver.find_elements(By.CSS_SELECTOR, 'noscript tbody tr td:first-child')
    check(len(rows) == 10000 and rows[1].text == 'Datei 1.txt' and rows[1].is_displayed(),
          f'without JavaScript {len(rows)} rows')
finally:
    driver.quit()

subprocess.run(['rm', '-rf', root])
sys.exit(1 if failures else 0)
