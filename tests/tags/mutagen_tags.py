#!/usr/bin/env python3
"""Independent views of ID3 tags, for the tag tests: mutagen, and where
installed TagLib (python3-taglib), id3lib (the id3v2 tool) and ffprobe.

  mutagen_tags.py readers
      The names of the readers that are installed, one a line.
  mutagen_tags.py read FILE [READER]
      One line per field found: "v2 KEY HEX", the UTF-8 of the field as the
      reader shows it (mutagen: the first text of the frame, the genre as its
      genre list shows it; for the year TYER, else TDRC; for the comment the
      first COMM). KEY is one of title, artist, album, track, year, genre,
      comment. With mutagen (the default) also "v1 KEY HEX" (the raw bytes of
      the ID3v1 field) and "v2version N" when there is an ID3v2 tag.
  mutagen_tags.py write FILE VERSION
      Gives FILE a tag written by mutagen itself (VERSION 3 or 4) with UTF-16
      Korean text, a back and a front cover picture and a comment with a
      description.
  mutagen_tags.py pictures FILE
      One line per attached picture in tag order: "picture TYPE MIME DESC
      SHA1", the description as the hex of its UTF-8, the SHA-1 of the image.
"""
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys

from mutagen.id3 import (APIC, COMM, ID3, ID3NoHeaderError, TALB, TCON, TDRC, TIT2, TPE1,
                         TRCK, TYER, ParseID3v1)

V2_KEYS = [("title", "TIT2"), ("artist", "TPE1"), ("album", "TALB"), ("track", "TRCK")]


def out(section, key, data):
    print(section, key, data.hex())


def read_taglib(path):
    import taglib
    names = {"TITLE": "title", "ARTIST": "artist", "ALBUM": "album", "TRACKNUMBER": "track",
             "DATE": "year", "GENRE": "genre", "COMMENT": "comment"}
    for name, values in taglib.File(path).tags.items():
        if name in names:
            out("v2", names[name], ", ".join(values).encode("utf-8"))


def read_id3lib(path):
    names = {"TIT2": "title", "TPE1": "artist", "TALB": "album", "TRCK": "track",
             "TYER": "year", "TCON": "genre", "COMM": "comment"}
    listing = subprocess.run(["id3v2", "-l", path], capture_output=True, check=True,
                             env=dict(os.environ, LC_ALL="C.UTF-8")).stdout
    # Its ID3v1 lines hold the record's raw bytes.
    listing = listing.decode("utf-8", errors="replace")
    for line in listing.splitlines():
        found = re.match(r"(\w{4}) \(.*?\): (.*)$", line)
        if not found or found.group(1) not in names:
            continue
        text = found.group(2)
        if found.group(1) == "TCON":
            text = re.sub(r" \(\d+\)$", "", text)  # id3v2 adds the genre number
        elif found.group(1) == "COMM":
            text = re.sub(r"^\(.*?\)\[...\]: ", "", text)  # (description)[language]:
        out("v2", names[found.group(1)], text.encode("utf-8"))


def read_ffprobe(path):
    names = {"title": "title", "artist": "artist", "album": "album", "track": "track",
             "date": "year", "genre": "genre", "comment": "comment"}
    listing = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format_tags", "-of",
                              "json", path], capture_output=True, check=True).stdout
    for name, value in json.loads(listing)["format"].get("tags", {}).items():
        if name in names:
            out("v2", names[name], value.encode("utf-8"))


def installed_readers():
    readers = ["mutagen"]
    try:
        import taglib  # noqa: F401
        readers.append("taglib")
    except ImportError:
        pass
    readers += [name for name, tool in (("id3lib", "id3v2"), ("ffprobe", "ffprobe"))
                if shutil.which(tool)]
    return readers


def read(path):
    try:
        tag = ID3(path, translate=False, load_v1=False)
    except ID3NoHeaderError:
        tag = None
    if tag is not None:
        print("v2version", tag.version[1])
        for key, frame_id in V2_KEYS:
            frames = tag.getall(frame_id)
            if frames and frames[0].text:
                out("v2", key, str(frames[0].text[0]).encode("utf-8"))
        genres = tag.getall("TCON")
        if genres and genres[0].genres:
            out("v2", "genre", ", ".join(genres[0].genres).encode("utf-8"))
        year = tag.getall("TYER") or tag.getall("TDRC")
        if year and year[0].text:
            out("v2", "year", str(year[0].text[0]).encode("utf-8"))
        comments = tag.getall("COMM")
        if comments and comments[0].text:
            out("v2", "comment", comments[0].text[0].encode("utf-8"))
    with open(path, "rb") as f:
        f.seek(0, 2)
        if f.tell() >= 128:
            f.seek(-128, 2)
            frames = ParseID3v1(f.read(128), v2_version=3) or {}
            names = {"TIT2": "title", "TPE1": "artist", "TALB": "album", "TYER": "year",
                     "COMM": "comment", "TRCK": "track", "TCON": "genre"}
            for frame_id, key in names.items():
                if frame_id in frames:
                    out("v1", key, str(frames[frame_id].text[0]).encode("latin1"))


def write(path, version):
    tag = ID3()
    tag.add(APIC(encoding=3 if version == 4 else 1, mime="image/png", type=4, desc="\ub4b7\uba74",
                 data=b"\x89PNG" + bytes(range(255, -1, -1)) * 3))
    tag.add(APIC(encoding=3, mime="image/jpeg", type=3, desc="cover",
                 data=b"\xff\xd8\xff\xe0" + bytes(range(256)) * 200))
    tag.add(TIT2(encoding=1, text="\ud55c\uad6d\uc5b4 \uc81c\ubaa9"))
    tag.add(TPE1(encoding=1, text="\uac00\uc218"))
    tag.add(TALB(encoding=1 if version == 3 else 3, text="\uc568\ubc94 Album"))
    tag.add(TRCK(encoding=0, text="3/12"))
    tag.add(TCON(encoding=0, text="Rock"))
    tag.add(COMM(encoding=1, lang="kor", desc="\uc124\uba85", text="\uc8fc\uc11d \ub0b4\uc6a9"))
    if version == 3:
        tag.add(TYER(encoding=0, text="2004"))
    else:
        tag.add(TDRC(encoding=0, text="2004-05-12"))
    tag.save(path, v2_version=version, v1=0)


def pictures(path):
    for frame in ID3(path, translate=False, load_v1=False).getall("APIC"):
        print("picture", int(frame.type), frame.mime, frame.desc.encode("utf-8").hex(),
              hashlib.sha1(frame.data).hexdigest())


if __name__ == "__main__":
    readers = {"mutagen": read, "taglib": read_taglib, "id3lib": read_id3lib,
               "ffprobe": read_ffprobe}
    if len(sys.argv) == 2 and sys.argv[1] == "readers":
        print("\n".join(installed_readers()))
    elif len(sys.argv) in (3, 4) and sys.argv[1] == "read":
        readers[sys.argv[3] if len(sys.argv) == 4 else "mutagen"](sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == "pictures":
        pictures(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "write":
        write(sys.argv[2], int(sys.argv[3]))
    else:
        sys.exit(__doc__)
