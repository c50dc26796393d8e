# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# The reference of the tag benchmark: the tags and playing times of the MP3
# files of a folder through python3-mutagen, written as the list writes them.
import csv
import os
import sys

from mutagen.easyid3 import EasyID3
from mutagen.mp3 import MP3

folder = sys.argv[1]
out = csv.writer(sys.stdout, delimiter=';', lineterminator='\r\n')
out.writerow(['Name', 'Interpret', 'Titel', 'Dauer'])
for name in sorted(os.listdir(folder)):
    audio = MP3(os.path.join(folder, name), ID3=EasyID3)
    seconds = round(audio.info.length)
    out.writerow([name, audio.get('artist', [''])[0], audio.get('title', [''])[0],
                  '%d:%02d:%02d' % (seconds // 3600, seconds // 60 % 60, seconds % 60)])
