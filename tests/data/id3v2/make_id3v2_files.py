#!/usr/bin/python3
# Makes the ID3v2 test files of this folder with mutagen (Debian package
# python3-mutagen), so the tags come from a writer other than Kalvo. Run once
# from this folder: /usr/bin/python3 make_id3v2_files.py
# Each file is a tag followed by a short MPEG-1 Layer III frame start and
# filler; the suite reads the committed files and never needs mutagen.
import struct

from mutagen.id3 import (
    COM, COMM, ID3, TAL, TALB, TCO, TCON, TDRC, TIT2, TP1, TPE1, TPE2, TRCK, TRK, TT2, TYE, TYER, Encoding,
)
from mutagen.id3._tags import ID3SaveConfig

AUDIO = b"\xFF\xFB\x90\x64" + b"\x55" * 60


def with_frames(name, version, frames):
    with open(name, "wb") as f:
        f.write(AUDIO)
    tag = ID3()
    for frame in frames:
        tag.add(frame)
    tag.save(name, v2_version=version, padding=lambda info: 0)


# v2.3, UTF-16: a described comment before the one without description,
# the track as "7/12", the genre as "(17)".
with_frames("v23_utf16.mp3", 3, [
    TIT2(encoding=Encoding.UTF16, text="夜明けの歌"),
    TPE1(encoding=Encoding.UTF16, text="山田太郎"),
    TALB(encoding=Encoding.UTF16, text="ベスト盤"),
    TYER(encoding=Encoding.UTF16, text="1998"),
    COMM(encoding=Encoding.UTF16, lang="jpn", desc="ID", text="1"),
    COMM(encoding=Encoding.UTF16, lang="jpn", desc="", text="いい曲です"),
    TRCK(encoding=Encoding.UTF16, text="7/12"),
    TCON(encoding=Encoding.UTF16, text="(17)"),
])

# v2.4, UTF-8: a title longer than its 30 bytes whose cut falls inside a
# character, the artist only in TPE2 and with a letter CP932 lacks, a full
# date, only a described comment, the track as "07", the genre as a name in
# other letter case.
with_frames("v24_utf8.mp3", 4, [
    TIT2(encoding=Encoding.UTF8, text="1とても長い曲名は三十バイトに入りきらない"),
    TPE2(encoding=Encoding.UTF8, text="Café Orchestra"),
    TALB(encoding=Encoding.UTF8, text="冬の旅"),
    TDRC(encoding=Encoding.UTF8, text="2003-04-05"),
    COMM(encoding=Encoding.UTF8, lang="jpn", desc="説明", text="説明つきのコメント"),
    TRCK(encoding=Encoding.UTF8, text="07"),
    TCON(encoding=Encoding.UTF8, text="ROCK"),
])

# v2.3, Latin-1: a year that is no number, a track past 255, the genre as
# "17"; no artist, album or comment.
with_frames("v23_latin1.mp3", 3, [
    TIT2(encoding=Encoding.LATIN1, text="Plain Title"),
    TYER(encoding=Encoding.LATIN1, text="19x9"),
    TRCK(encoding=Encoding.LATIN1, text="300"),
    TCON(encoding=Encoding.LATIN1, text="17"),
])

# v2.2, which mutagen reads but does not write: mutagen builds each frame's
# body, and its three-letter header and the tag header are put around it here.
config = ID3SaveConfig(3, None)
body = b""
for frame in [
    TT2(encoding=Encoding.UTF16, text="二・二の曲"),
    TP1(encoding=Encoding.LATIN1, text="Old Artist"),
    TAL(encoding=Encoding.LATIN1, text="Old Album"),
    TYE(encoding=Encoding.LATIN1, text="1985"),
    COM(encoding=Encoding.LATIN1, lang="eng", desc="", text="v2.2 comment"),
    TRK(encoding=Encoding.LATIN1, text="3"),
    TCO(encoding=Encoding.LATIN1, text="(17)Rock"),
]:
    data = frame._writeData(config)
    body += type(frame).__name__.encode() + struct.pack(">I", len(data))[1:] + data


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


with open("v22.mp3", "wb") as f:
    f.write(b"ID3\x02\x00\x00" + syncsafe(len(body)) + body + AUDIO)
