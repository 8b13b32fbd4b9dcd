#!/usr/bin/env python3
"""Writes the harnesses' seed corpora (fuzz/corpus/<harness>/seed-*) and the
dictionaries (fuzz/dict/). The seeds are small, well formed examples of each
input, plus a few that are wrong in the ways a damaged file usually is, so the
fuzzer starts from inputs that reach deep into each reader. Run it again after
changing it; the findings kept in the corpus (named after what they found)
are left alone."""
import os
import shutil
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DATALENMAX = 500000


def put(harness, name, data):
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seed-" + name), "wb") as f:
        f.write(data)


def wav(data, channels=1, rate=11025, bits=8, promised=None, block=None):
    block = block if block is not None else channels * bits // 8
    promised = len(data) if promised is None else promised
    return (b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * block, block, bits) +
            b"data" + struct.pack("<I", promised) + data + b"\0")


def wav_seeds():
    put("wav", "8bit-mono", wav(bytes(range(128, 228))))
    put("wav", "16bit-stereo", wav(struct.pack("<8h", 0, 1000, -1000, 32767, -32768, 5, 6, 7), 2, 44100, 16))
    put("wav", "promises-more", wav(b"\x80" * 33, promised=1000))
    put("wav", "odd-16bit", wav(b"\0" * 9, 1, 8000, 16))
    put("wav", "not-pcm", wav(b"\x80" * 10).replace(b"\x01\x00\x01\x00", b"\x03\x00\x01\x00", 1))
    put("wav", "list-chunk", wav(b"\x80" * 10)[:36] + b"LIST\x04\0\0\0abcd" + b"\x80" * 10)


def sox_wav(options, seconds=0.02, channels=1, rate=8000):
    """A short sweep as sox writes it in the given encoding."""
    if shutil.which("sox") is None:
        raise SystemExit("seeds.py: the wavconvert seeds are made with sox, which is not installed")
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "seed.wav")
        subprocess.run(["sox", "-n", "-r", str(rate), "-c", str(channels)] + options.split() +
                       [out, "synth", str(seconds), "sine", "100-3000", "sine", "700", "gain", "-1"], check=True)
        with open(out, "rb") as f:
            return f.read()


def chunk(tag, body):
    return tag + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def wavconvert_seeds():
    encodings = {"pcm8": "-b 8", "pcm16": "-b 16", "pcm24": "-b 24", "pcm32": "-b 32",
                 "float32": "-e floating-point -b 32", "float64": "-e floating-point -b 64",
                 "ulaw": "-e u-law", "alaw": "-e a-law", "ima": "-e ima-adpcm", "msadpcm": "-e ms-adpcm"}
    for name, options in encodings.items():
        for channels in (1, 2):
            put("wavconvert", "%s-%s" % (name, "mono" if channels == 1 else "stereo"), sox_wav(options, channels=channels))
    put("wavconvert", "six-channels-float", sox_wav("-e floating-point -b 32", 0.005, channels=6))
    # The layouts sox does not write: chunks out of order with an odd one
    # between them, a data size past the end, 12 valid bits in 16.
    fmt = struct.pack("<HHIIHH", 1, 2, 8000, 32000, 4, 16)
    data = bytes(range(41))
    body = chunk(b"data", data) + chunk(b"LIST", b"INFOx") + chunk(b"fact", b"\x01\0\0\0") + chunk(b"fmt ", fmt)
    put("wavconvert", "out-of-order", b"RIFF" + struct.pack("<I", 4 + len(body)) + b"WAVE" + body)
    cut = b"RIFF\xf0\xff\xff\xffWAVE" + chunk(b"fmt ", fmt) + b"data\xf0\xff\xff\xff" + data
    put("wavconvert", "cut", cut)
    twelve = bytearray(sox_wav("-b 16", 0.005))
    twelve[34] = 12
    put("wavconvert", "twelve-bits", bytes(twelve))


def sjis(text):
    return text.encode("cp932")


def text_seeds():
    put("textline", "window", b"\x00" + b"13\r\n50\r\n950\r\n534\r\n\0")
    put("textline", "folder", b"\x00" + sjis("C:\\音\\Wavoraメモ\\") + b"\r\n\0")
    put("textline", "mixed-ends", b"\x02" + b"-12.5\n\r+7\r\r 3e5\n\n99999999999999999999\0tail")
    put("textline", "broken-sjis", b"\x01" + b"\x81\r\n\x82\xa0\xff\xfd\x9f")


def settings_seeds():
    def script(files):
        out = b""
        for f in files:
            if f is None:
                out += b"\x00"
            else:
                out += b"\x01" + bytes([min(len(f), 254)]) + f[:254]
        return out
    put("settings", "all-good", script([sjis("C:\\開く\\") + b"\0", sjis("D:\\保存\\") + b"\0",
                                        b"13\r\n50\r\n950\r\n534\r\n\0", b"1\r\n2\r\n\0", b"300\r\n200\r\n\0"]))
    put("settings", "none", script([None] * 5))
    put("settings", "short-and-wild", script([b"C:", b"\r\n", b"-2147483649\r\n1e9\r\n12", b"\x81", b"\n\r\n\r"]))


def bmp(width, height, bits, pixels, colours=None, compression=0):
    colours = colours or []
    stride = (width * bits + 31) // 32 * 4
    at = 54 + 4 * len(colours)
    size = at + stride * abs(height)
    head = b"BM" + struct.pack("<IHHI", size, 0, 0, at)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, stride * abs(height), 2835, 2835,
                       len(colours), 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    rows = b"".join(bytes(pixels[y * stride:(y + 1) * stride]).ljust(stride, b"\0") for y in range(abs(height)))
    return head + info + pal + rows


def bmp_seeds():
    # The first byte: 0 a help picture, 1 a pattern window picture (over white).
    put("helpbmp", "24bit", b"\0" + bmp(3, 2, 24, list(range(24))))
    put("helpbmp", "32bit-topdown", b"\1" + bmp(2, -2, 32, list(range(16))))
    put("helpbmp", "8bit", b"\0" + bmp(5, 3, 8, list(range(24)), [(255, 0, 0), (0, 255, 0), (0, 0, 255)]))
    put("helpbmp", "4bit", b"\1" + bmp(7, 2, 4, [0x12, 0x34, 0x56, 0x70] * 2, [(9, 9, 9)] * 16))
    put("helpbmp", "1bit", b"\0" + bmp(9, 2, 1, [0xA5, 0x80, 0, 0, 0x5A, 0, 0, 0], [(0, 0, 0), (255, 255, 255)]))


def pattern_seeds():
    # patternfile: the place's size and step in one byte, then the file.
    put("patternfile", "wave", b"\x03" + bytes(128 + int(100 * ((i % 50) / 25 - 1)) for i in range(800)))
    put("patternfile", "short-place", b"\x02" + bytes(range(256)) * 4)
    put("patternfile", "step-8", b"\x1b" + b"\x00\xff" * 300)
    # strip: width, height, the pixels (three bytes each), then x, y, width, height.
    put("strip", "tool-bar", bytes([66, 22]) + bytes(range(256)) * 17 + bytes([0, 0, 66, 22]))
    put("strip", "outside", bytes([4, 4]) + b"\x10" * 48 + bytes([0xfe, 2, 9, 9]))


def help_seeds():
    put("helppage", "markup", sjis("[[大きな見出し\r\n{{太字の行\r\n[{大きな太字\r\n普通の行((r赤い字\r\n"
                                   "((bここから青((gここから緑\r\n誂picture.bmp\r\n誂missingx.bmp\r\n") + b"end")
    put("helppage", "long-line", sjis("あいうえお" * 200 + "\r\n" + "abc " * 400))
    put("helppage", "picture-without-extension", sjis("前の行\r\n誂noextension\r\n後の行"))
    for name in ("HelpWAVORA.txt", "Helpマーカー.txt"):
        with open(os.path.join(HERE, "..", "assets", "help", name), encoding="utf-8") as f:
            put("helppage", "page-" + name.encode("ascii", "ignore").decode(), sjis(f.read().replace("\n", "\r\n")))


def record(kind, data):
    return bytes([kind]) + struct.pack("<H", len(data)) + data


def pictra_seeds():
    title, filt, name, folder, multi, show = 0, 1, 2, 3, 4, 5
    filters = sjis("wav(*.wav)") + b"\0*.wav\0" + sjis("すべてのファイル(*)") + b"\0*\0\0"
    put("pictra", "open", record(title, sjis("開く") + b"\0") + record(filt, filters) + record(name, b"\0") +
        record(folder, sjis("C:\\音\\") + b"\0") + record(8, b"\0") + record(show, b"0\0") +
        record(0x71, sjis("C:\\音\\a.wav") + b"\0"))
    put("pictra", "multi", record(multi, b"") + record(show, b"0\0") +
        record(0x71, b"C:\\x\0a.wav\0b.wav\0\0"))
    put("pictra", "unterminated", record(title, b"A" * 700) + record(filt, b"*" * 300) +
        record(name, b"\x81" * 300) + record(show, b"1"))


def reply_seeds():
    put("reply", "one-file", b"\x00" + sjis("C:\\音\\ファイル.wav") + b"\0")
    put("reply", "several", b"\x00" + sjis("C:\\音") + b"\0a.wav\0" + sjis("長い名前のファイル.wav") + b"\0c\0\0")
    put("reply", "no-folder", b"\x01" + b"name.wav\0")
    put("reply", "unterminated", b"\x00" + b"C:\\" + b"x" * 600)


def state_record(slot=0, length=10, layers=0, active=0, sel=(0, 0)):
    # tool, slot, DataLen, HasSelection, HasMarker, SelLeft, SelStart, SelRight, SelLength, count, active, ch, bits, rate
    return struct.pack("<B13i", 1, slot, length, 1, 0, 0, sel[0], 0, sel[1], layers, active, 1, 8, 11025)


def undo_seeds():
    # Raw files (mode 1): the harness writes the bytes as they are.
    def raw(part, owner, data, step_byte=1):
        return bytes([part + 8 * owner, 1, len(data)]) + data + bytes([step_byte])
    sound = raw(0, 0, state_record()) + raw(1, 0, b"\x90" * 10) + raw(2, 0, b"\x80" * 10) + raw(3, 0, b"\x80" * 10)
    put("undo", "sound", b"\x00" + b"\x03" * 5 + sound)
    put("undo", "base-state", b"\x01" + b"\x00\x01\x03\x03\x03" + sound)
    put("undo", "short-data", b"\x00" + b"\x03" * 5 + raw(0, 0, state_record()) + raw(1, 0, b"\x90" * 5))
    lay = struct.pack("<B13i6i", 1, 0, 1, 1, 0, 0, 4, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0)
    layer = raw(4, 1, lay) + raw(5, 1, b"\x10\x20\x30\x40") + raw(6, 1, b"\x80" * 4) + raw(7, 1, b"\x80" * 4)
    put("undo", "with-layer", b"\x00" + b"\x03\x01\x03\x03\x03" +
        raw(0, 0, state_record(layers=1, active=1)) + raw(1, 0, b"\x90" * 10) + raw(2, 0, b"\x80" * 10) +
        raw(3, 0, b"\x80" * 10) + layer)


def recovery_seeds():
    # head (bit 0: answer No), sounds - 1, each sound's length, the number of
    # changes, each change (slot and kind, fill byte, pitch byte; 0x80 undo,
    # 0xC0 redo take no more bytes), then damage: how, which file, its step,
    # and what the damage needs.
    history = b"\x01" + b"\x0a\x14" + b"\x06" + b"\x04\x30\x90" + b"\x05\x40\x91" + b"\x80" + \
        b"\x0e\x50\x92" + b"\x81" + b"\xc1"
    put("recovery", "two-sounds", b"\x00" + history)
    put("recovery", "answer-no", b"\x01" + history)
    put("recovery", "newest-cut-short", b"\x00" + history + b"\x01\x01\x00\x03")
    put("recovery", "record-garbage", b"\x00" + history + b"\x02\x08\x00\x05WvRc\x01")
    put("recovery", "step-moved", b"\x00" + history + b"\x03\x00\x00\x00\x01" + b"\x03\x01\x00\x01\x01")
    put("recovery", "state-record-gone", b"\x00" + history + b"\x00\x00\x01")
    put("recovery", "records-gone-answer-no", b"\x01" + history + b"\x00\x08\x00" + b"\x00\x11\x00")


def memo_seeds():
    def memo(*numbers):
        return "".join("%s\r\n" % n for n in numbers).encode("ascii")
    put("memo", "random-sin", memo(11025, 8, 3, 1, 100, 50, 20, 440, 220, 0))
    put("memo", "synthesized-sin", memo(44100, 16, 4, 1, 100, 0, 0, 4400, 0, 0, 2, 80, 10, 5, 300, 30, 2))
    put("memo", "super-random", memo(8000, 8, 1, 2, 1500, 90, 80, 70, 500, 600, 700))
    put("memo", "super-random-effect", memo(22050, 8, 2, 3, 2206, 100, 90, 80, 500, 600, 700,
                                            1, 50, 0, 0, 5, 0, 0, 2, "0.83", "0.8", 59))
    put("memo", "unknown-kind", memo(8000, 8, 9))
    put("memo", "short-and-garbled", b"11025\r\n1x6\r\n\xff\xfe")


def dictionaries():
    os.makedirs(os.path.join(HERE, "dict"), exist_ok=True)
    words = {
        "wav": [b"RIFF", b"WAVE", b"fmt ", b"data", b"LIST", b"\x10\x00\x00\x00", b"\x01\x00", b"\x02\x00",
                b"\x08\x00", b"\x10\x00", b"\x44\xac\x00\x00", b"\x20\xa1\x07\x00"],
        "wavconvert": [b"RIFF", b"WAVE", b"fmt ", b"data", b"fact", b"LIST", b"\xfe\xff", b"\x11\x00",
                       b"\x02\x00", b"\x03\x00", b"\x06\x00", b"\x07\x00", b"\x18\x00", b"\x20\x00",
                       b"\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71"],
        "helppage": [b"[[", b"{{", b"[{", b"{[", b"((r", b"((b", b"((g", sjis("誂"), b".bmp", b".BMP", b"\r\n"],
        "helpbmp": [b"BM", b"\x28\x00\x00\x00", b"\x01\x00", b"\x18\x00", b"\x20\x00", b"\x03\x00\x00\x00",
                    b"\xff\xff\xff\xff"],
        "textline": [b"\r\n", b"\n\r", b"\r", b"\n", b"-", b".", b"+", b" ", b"\0", b"2147483648"],
    }
    for name, items in words.items():
        with open(os.path.join(HERE, "dict", name + ".dict"), "w") as f:
            for w in items:
                f.write('"' + "".join("\\x%02X" % c for c in w) + '"\n')


if __name__ == "__main__":
    wav_seeds(); wavconvert_seeds(); text_seeds(); settings_seeds(); bmp_seeds(); pattern_seeds(); help_seeds()
    pictra_seeds(); reply_seeds(); undo_seeds(); recovery_seeds(); memo_seeds(); dictionaries()
