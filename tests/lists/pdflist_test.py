#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Lists on paper as a reader sees them: `lirabel --liste --format pdf` over a
# tree with umlauts, a name that is not UTF-8, a 200-character name and 2,500
# files in 30 folders, without a display, read back with poppler's pdftotext
# (-layout and -bbox-layout), pdfinfo and pdffonts.
#
# usage: pdflist_test.py PATH_TO_lirabel
import os, pty, re, shutil, subprocess, sys, tempfile, unittest
import xml.etree.ElementTree as ET

LIRABEL = sys.argv.pop(1)
LONG = "L" + "ä" * 20 + "ng" + "e" * 173 + ".txt"  # 200 characters, 220 bytes


def run(*args, env_extra={}, **kw):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "LC_ALL")}
    env.update(env_extra)
    kw.setdefault("stdout", subprocess.PIPE)
    return subprocess.run([LIRABEL, "--liste", *args], env=env, stderr=subprocess.PIPE, **kw)


def words(pdf):
    """Each word as (page, xMin, yMin, xMax, yMax, text); the page sizes."""
    xml = subprocess.run(["pdftotext", "-bbox-layout", pdf, "-"], capture_output=True, check=True).stdout
    xml = re.sub(rb"<!DOCTYPE[^>]*>", b"", xml).replace(b'xmlns="http://www.w3.org/1999/xhtml"', b"")
    found, sizes = [], []
    for number, page in enumerate(ET.fromstring(xml).iter("page"), 1):
        sizes.append((float(page.get("width")), float(page.get("height"))))
        for w in page.iter("word"):
            found.append((number, *(float(w.get(k)) for k in ("xMin", "yMin", "xMax", "yMax")), w.text or ""))
    return found, sizes


class PdfList(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp()
        cls.tree = os.path.join(cls.dir, "Bücher")
        sizes = {}
        for f in range(30):
            folder = os.path.join(cls.tree, *([f"Ordner {f:02}"] if f else []))
            os.makedirs(folder, exist_ok=True)
            for i in range(2500 // 30 + (1 if f < 2500 % 30 else 0)):
                name = f"Größe {f}-{i}.dat" if i % 7 else f"Übung {f} {i}.txt"
                with open(os.path.join(folder, name), "wb") as out:
                    out.write(b"x" * ((f * 7919 + i * 104729) % 300000))
        with open(os.path.join(cls.tree, LONG), "wb") as out:
            out.write(b"1234567")
        with open(os.path.join(cls.tree.encode(), b"Lieder f\xfcr Mutter.mp3"), "wb") as out:
            out.write(b"12")
        with open(os.path.join(cls.tree, "Groß.bin"), "wb") as out:
            out.write(b"\0" * 1200000)
        for root, _, files in os.walk(cls.tree.encode()):
            rel = os.path.relpath(root, cls.tree.encode()).decode("utf-8")
            sizes[rel] = [os.stat(os.path.join(root, n)).st_size for n in files]
        cls.sizes = sizes
        cls.pdf = os.path.join(cls.dir, "liste.pdf")
        cls.result = run("--unterordner", "--format", "pdf", "-o", cls.pdf, cls.tree)
        cls.layout = subprocess.run(["pdftotext", "-layout", cls.pdf, "-"], capture_output=True).stdout.decode()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def test_written_without_a_display(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr.decode())
        self.assertEqual(self.result.stderr, b"")
        info = subprocess.run(["pdfinfo", self.pdf], capture_output=True, text=True).stdout
        self.assertRegex(info, r"Title:\s+Bücher\n")

    def test_every_page_has_its_header(self):
        pages = self.layout.split("\f")[:-1]
        self.assertGreater(len(pages), 30)
        for n, page in enumerate(pages, 1):
            self.assertIn(f"Seite {n} von {len(pages)}", page)
            self.assertIn(self.tree, page)
            self.assertRegex(page, r"Dateiliste vom \d\d\.\d\d\.\d{4} \d\d:\d\d")
            self.assertRegex(page, r"Name\s+Ordner\s+Größe\s+Geändert")

    def test_every_name_is_there(self):
        found, _ = words(self.pdf)
        # A name wrapped in its column reads on together, without the blanks.
        text = "".join(w[5] for w in found)
        for names in [["Lieder für Mutter.mp3", LONG]] + [
            [n for n in os.listdir(os.path.join(self.tree, *([f] if f != "." else []))) if n.endswith((".dat", ".txt"))]
            for f in self.sizes if not f.startswith("Ordner 00")
        ]:
            for name in names:
                self.assertIn(name.replace(" ", ""), text)

    def test_totals_are_the_sums_of_the_sizes(self):
        totals = [(int(n.replace(".", "")), int(b.replace(".", "")))
                  for n, b in re.findall(r"Summe: ([\d.]+) Dateie?n?, ([\d.]+) Bytes", self.layout)]
        expected = [(len(self.sizes[f]), sum(self.sizes[f])) for f in sorted(self.sizes, key=lambda f: (f != ".", f))]
        self.assertEqual(totals, expected)
        files, size = (f"{sum(f(s) for s in self.sizes.values()):,}".replace(",", ".") for f in (len, sum))
        self.assertIn(f"Gesamt: {files} Dateien in 30 Ordnern, {size} Bytes", self.layout)
        self.assertRegex(self.layout, r"Groß\.bin\s+\.\s+1\.200\.000\s+\d\d\.\d\d\.\d{4} \d\d:\d\d")

    def test_fonts_are_embedded(self):
        fonts = subprocess.run(["pdffonts", self.pdf], capture_output=True, text=True).stdout.splitlines()[2:]
        self.assertTrue(fonts)
        for line in fonts:
            self.assertIn("LiberationSans", line)
            self.assertRegex(line, r"\syes\s+\S+\s+\S+\s+\d+\s+\d+$")

    def test_ten_columns_lie_on_their_side_without_overlap(self):
        pdf = os.path.join(self.dir, "breit.pdf")
        columns = "name,ordner,pfad,groesse,datum,interpret,titel,album,jahr,dauer"
        result = run("--format", "pdf", "--spalten", columns, "--groessen", "lesbar", "--schriftgroesse", "11",
                     "-o", pdf, self.tree)
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        found, sizes = words(pdf)
        self.assertTrue(all(w > h for w, h in sizes))
        layout = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True).stdout
        self.assertRegex(layout, r"Groß\.bin\s.*\s1,2 MB\s")
        for i, a in enumerate(found):
            for b in found[i + 1:i + 60]:
                if a[0] == b[0] and a[2] < b[4] and b[2] < a[4]:
                    self.assertFalse(a[1] < b[3] - 0.1 and b[1] < a[3] - 0.1, f"{a} overlaps {b}")

    def test_several_folders(self):
        pdf = os.path.join(self.dir, "zwei.pdf")
        a, b = (os.path.join(self.tree, f"Ordner {n:02}") for n in (2, 3))
        result = run("--format", "pdf", "-o", pdf, a, b)
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        self.assertRegex(subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout,
                         r"Title:\s+Ordner 02 und Ordner 03\n")
        layout = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True).stdout
        for page in layout.split("\f")[:-1]:
            self.assertIn(f"{a} und {b}", page)
        self.assertEqual([line.strip() for line in layout.splitlines() if line.strip() in (a, b)], [a, b])
        totals = [(int(n), int(s.replace(".", ""))) for n, s in re.findall(r"Summe: (\d+) Dateien, ([\d.]+) Bytes", layout)]
        self.assertEqual(totals, [(len(self.sizes[f]), sum(self.sizes[f])) for f in ("Ordner 02", "Ordner 03")])
        self.assertIn(f"Gesamt: {sum(t[0] for t in totals)} Dateien in 2 Ordnern", layout)

    def test_wrong_calls(self):
        for args in (["--format", "pdf", "--schriftgroesse", "15"], ["--drucken", "-o", "x.pdf"],
                     ["--drucken", "--format", "csv"], ["--drucker", "Q", "--speichern"],
                     ["--format", "csv", "--querformat"], ["--format", "pdf", "--groessen", "kilo"]):
            self.assertEqual(run(*args, "-o", os.devnull, self.tree).returncode if "-o" not in args
                             else run(*args, self.tree).returncode, 2, args)
        leader, follower = pty.openpty()
        onto_terminal = run("--format", "pdf", self.tree, stdout=follower)
        os.close(leader), os.close(follower)
        self.assertEqual(onto_terminal.returncode, 2)
        self.assertIn("Terminal", onto_terminal.stderr.decode())

    def test_no_queue_no_print(self):
        result = run("--drucker", "GibtEsNicht", self.tree)
        self.assertEqual((result.returncode, result.stderr.decode()), (1, "lirabel: Kein Drucker eingerichtet !\n"))

    def test_paper_of_the_locale(self):
        locales = os.path.join(self.dir, "locales")
        os.makedirs(locales, exist_ok=True)
        if subprocess.run(["localedef", "-i", "en_US", "-f", "UTF-8", os.path.join(locales, "en_US.UTF-8")],
                          capture_output=True).returncode > 1:
            self.skipTest("no localedef or locale sources (package locales)")
        pdf = os.path.join(self.dir, "letter.pdf")
        for env, args, size in (({}, [], "595 x 842"), ({"LOCPATH": locales, "LC_PAPER": "en_US.UTF-8"}, [], "612 x 792"),
                                ({"LOCPATH": locales, "LC_PAPER": "en_US.UTF-8"}, ["--querformat"], "792 x 612")):
            self.assertEqual(run("--format", "pdf", *args, "-o", pdf, os.path.join(self.tree, "Ordner 03"),
                                 env_extra=env).returncode, 0)
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
            self.assertRegex(info, rf"Page size:\s+{size} pts")

    def test_unknown_font_named(self):
        pdf = os.path.join(self.dir, "schrift.pdf")
        result = run("--format", "pdf", "--schrift", "Gibtsnicht Sans", "-o", pdf, os.path.join(self.tree, "Ordner 02"))
        self.assertEqual(result.returncode, 0)
        self.assertRegex(result.stderr.decode(), r"^lirabel: Die Schrift „Gibtsnicht Sans“ gibt es nicht; gedruckt "
                                                 r"wird in „[^“]+“\.\n$")


if __name__ == "__main__":
    for tool in ("pdftotext", "pdffonts", "pdfinfo"):
        if not shutil.which(tool):
            print(f"SKIPPED: {tool} (poppler-utils) is missing")
            sys.exit(77)
    unittest.main(verbosity=2)
