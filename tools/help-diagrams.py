#!/usr/bin/env python3
"""Draws the diagrams of the help pages (waveforms and sketches of the
program's windows) as small 16-colour BMP files in assets/help/pictures.

The pictures are committed, so building the program never runs this. Run it
again after changing a diagram:  tools/help-diagrams.py
The marker, selection and pattern-window pictures are screenshots taken by
tools/help-screenshots.sh; what is drawn here explains rather than shows.
It needs ImageMagick's `convert` and the IPA Gothic font (tools/setup.sh
installs both)."""
import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "assets", "help", "pictures")
FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"


class Picture:
    """A white picture with a grey frame, drawn with ImageMagick's -draw."""

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.ops = []

    def line(self, pts, colour="black", width=1):
        pts = " ".join("%.1f,%.1f" % p for p in pts)
        self.ops += ["-fill", "none", "-stroke", colour, "-strokewidth", str(width), "-draw", "polyline " + pts]

    def rect(self, x0, y0, x1, y1, fill, stroke="none"):
        self.ops += ["-fill", fill, "-stroke", stroke, "-strokewidth", "1",
                     "-draw", "rectangle %d,%d %d,%d" % (x0, y0, x1, y1)]

    def text(self, x, y, s, colour="black", size=13):
        self.ops += ["-stroke", "none", "-fill", colour, "-font", FONT, "-pointsize", str(size),
                     "-annotate", "+%d+%d" % (x, y), s]

    def arrow(self, x0, y0, x1, y1, colour="black"):
        self.line([(x0, y0), (x1, y1)], colour, 2)
        a = math.atan2(y1 - y0, x1 - x0)
        tip = [(x1 - 8 * math.cos(a - 0.5), y1 - 8 * math.sin(a - 0.5)), (x1, y1),
               (x1 - 8 * math.cos(a + 0.5), y1 - 8 * math.sin(a + 0.5))]
        self.line(tip, colour, 2)

    def wave(self, f, x0, x1, mid, amp, colour="black", width=2):
        self.line([(x, mid - amp(x) * f(x)) if callable(amp) else (x, mid - amp * f(x))
                   for x in frange(x0, x1, 0.5)], colour, width)

    def image(self, x, y, path):
        self.ops += ["-draw", "image over %d,%d 0,0 '%s'" % (x, y, path)]

    def save(self, name, colours=16):
        cmd = ["convert", "-size", "%dx%d" % (self.w, self.h), "xc:white"] + self.ops
        cmd += ["-fill", "none", "-stroke", "gray60", "-strokewidth", "1",
                "-draw", "rectangle 0,0 %d,%d" % (self.w - 1, self.h - 1),
                "-colors", str(colours), "-type", "Palette", "-compress", "None", "BMP3:" + os.path.join(OUT, name)]
        subprocess.run(cmd, check=True)
        print("wrote", name)


def frange(a, b, step):
    x = a
    while x <= b:
        yield x
        x += step


def sine(period, phase=0.0, x0=0):
    return lambda x: math.sin(2 * math.pi * ((x - x0) / period + phase))


def axis(p, x0, x1, mid):
    p.line([(x0, mid), (x1, mid)], "red", 1)


def wave_basics():
    p = Picture(460, 170)
    axis(p, 20, 440, 85)
    p.wave(sine(140, x0=30), 30, 440, 85, 55)
    p.arrow(65, 85, 65, 32, "blue")
    p.text(72, 52, "振幅（音の大きさ）", "blue")
    p.line([(30, 150), (170, 150)], "green", 2)
    p.line([(30, 143), (30, 157)], "green", 2)
    p.line([(170, 143), (170, 157)], "green", 2)
    p.text(40, 167, "１周期（これが１秒に何回あるか＝周波数）", "green", 12)
    p.save("HelpNamiKihon.bmp")


def frequencies():
    p = Picture(460, 150)
    axis(p, 20, 440, 40)
    axis(p, 20, 440, 112)
    p.wave(sine(120, x0=30), 30, 440, 40, 28)
    p.wave(sine(40, x0=30), 30, 440, 112, 28)
    p.text(300, 18, "周波数が低い＝低い音", "blue", 12)
    p.text(300, 90, "周波数が高い＝高い音", "red", 12)
    p.save("HelpShuhasu.bmp")


def phase():
    p = Picture(460, 160)
    axis(p, 20, 440, 80)
    p.wave(sine(160, x0=40), 40, 430, 80, 55, "black", 2)
    p.wave(sine(160, 0.25, x0=40), 40, 430, 80, 55, "blue", 2)
    p.line([(40, 10), (40, 150)], "gray60", 1)
    p.text(50, 152, "黒＝位相0　　青＝位相25（１／４周期ずれる）", "black", 12)
    p.save("HelpIsou.bmp")


def waveforms():
    p = Picture(470, 250)
    rows = [("Sin波", lambda x: math.sin(2 * math.pi * x / 80)),
            ("矩形波（四角い波）", lambda x: 1 if (x % 80) < 40 else -1),
            ("三角波", lambda x: 1 - 4 * abs(((x / 80) % 1) - 0.5)),
            ("のこぎり波", lambda x: 2 * ((x / 80) % 1) - 1)]
    for i, (name, f) in enumerate(rows):
        mid = 32 + i * 60
        axis(p, 150, 455, mid)
        p.text(10, mid + 5, name, "black", 13)
        p.wave(f, 155, 450, mid, 22, "black", 2)
    p.save("HelpHakeiShurui.bmp")


def envelope():
    p = Picture(460, 210)
    p.text(10, 16, "音量変化グラフ（上ほど大きい）", "blue", 12)
    p.rect(10, 22, 450, 82, "white", "gray70")
    vol = lambda x: 0.1 + 0.9 * min(1.0, (x - 20) / 60) if x < 80 else max(0.05, 1 - (x - 80) / 380)
    p.line([(x, 80 - 55 * vol(x)) for x in frange(20, 440, 1)], "blue", 2)
    p.text(10, 106, "再生すると波の大きさがグラフのとおりに変わる", "black", 12)
    axis(p, 20, 440, 155)
    p.wave(sine(14, x0=20), 20, 440, 155, lambda x: 45 * vol(x), "black", 1)
    p.save("HelpOnryoGraph.bmp")


def pitch_graph():
    p = Picture(460, 200)
    p.text(10, 16, "高さ変化グラフ（上ほど高く、短くなる）", "red", 12)
    p.rect(10, 22, 450, 82, "white", "gray70")
    p.line([(20, 60), (150, 60), (150, 35), (300, 35), (300, 70), (440, 70)], "red", 2)
    p.text(10, 104, "再生すると", "black", 12)
    axis(p, 20, 440, 150)
    pts, phase_, x = [], 0.0, 20.0
    while x <= 440:
        period = 40 if x < 150 else (16 if x < 300 else 60)
        phase_ += 2 * math.pi / period * 0.5
        pts.append((x, 150 - 38 * math.sin(phase_)))
        x += 0.5
    p.line(pts, "black", 1)
    p.save("HelpTakasaGraph.bmp")


def layers():
    p = Picture(460, 170)
    axis(p, 10, 450, 85)
    p.wave(sine(25, x0=10), 10, 450, 85, 30, "gray50", 1)
    p.rect(60, 20, 170, 150, "#ffbbff")
    p.wave(sine(12, x0=60), 62, 168, 85, 50, "black", 1)
    p.text(64, 36, "レイヤー1", "black", 12)
    p.text(64, 146, "(ピンク)不透過", "black", 11)
    p.rect(260, 20, 380, 150, "#ffffbb")
    p.wave(sine(25, x0=10), 262, 378, 85, 30, "gray50", 1)
    p.wave(sine(9, x0=260), 262, 378, 85, 20, "black", 1)
    p.text(264, 36, "レイヤー2", "black", 12)
    p.text(264, 146, "(黄)透過", "black", 11)
    p.text(390, 36, "背景", "gray40", 12)
    p.save("HelpLayer.bmp")


def mixing():
    p = Picture(460, 230)
    for i, (label, f) in enumerate((("A", sine(60, x0=90)), ("B", sine(23, x0=90)))):
        mid = 35 + i * 70
        axis(p, 80, 440, mid)
        p.text(20, mid + 5, "音" + label, "black", 14)
        p.wave(f, 90, 440, mid, 25, "black", 1)
    mid = 190
    axis(p, 80, 440, mid)
    p.text(8, mid + 5, "A＋B", "blue", 14)
    p.wave(lambda x: 0.5 * (math.sin(2 * math.pi * (x - 90) / 60) + math.sin(2 * math.pi * (x - 90) / 23)),
           90, 440, mid, 40, "blue", 1)
    p.save("HelpGousei.bmp")


def stereo():
    p = Picture(460, 150)
    p.text(10, 20, "左の音", "red", 13)
    p.text(10, 75, "右の音", "blue", 13)
    for i in range(8):
        p.rect(70 + i * 22, 6, 88 + i * 22, 26, "#ffcccc", "red")
        p.rect(70 + i * 22, 61, 88 + i * 22, 81, "#ccccff", "blue")
    p.text(10, 128, "ステレオ", "black", 13)
    for i in range(16):
        colour, edge = ("#ffcccc", "red") if i % 2 == 0 else ("#ccccff", "blue")
        p.rect(70 + i * 22, 114, 88 + i * 22, 134, colour, edge)
    p.arrow(260, 86, 260, 110, "black")
    p.text(275, 100, "左・右・左・右…と交互に並ぶ", "black", 12)
    p.save("HelpStereo.bmp")


def chorus_distortion():
    p = Picture(460, 160)
    axis(p, 10, 220, 80)
    p.wave(sine(50, x0=10), 10, 220, 80, 40, "black", 1)
    p.wave(sine(60, x0=10), 10, 220, 80, 32, "blue", 1)
    p.text(15, 150, "コーラス：少し高さの違う音を重ねる", "blue", 11)
    axis(p, 240, 450, 80)
    clip = lambda x: max(-0.6, min(0.6, 1.8 * math.sin(2 * math.pi * (x - 240) / 70)))
    p.wave(lambda x: math.sin(2 * math.pi * (x - 240) / 70), 240, 450, 80, 60, "gray70", 1)
    p.wave(clip, 240, 450, 80, 60, "red", 2)
    p.text(245, 150, "ヒズミ：大きくして頭をつぶす", "red", 11)
    p.save("HelpChorusHizumi.bmp")


def double_line():
    p = Picture(460, 190)
    p.text(10, 16, "手で描いた線（折り返して２重になった所がある）", "black", 12)
    p.rect(10, 22, 450, 110, "white", "gray70")
    p.line([(10, 66), (450, 66)], "red", 1)
    p.line([(30, 90), (120, 35), (200, 80), (170, 95), (260, 40), (430, 85)], "black", 2)
    p.text(10, 132, "１列の中に点がいくつあっても、いちばん下の点だけが使われる", "black", 12)
    p.rect(10, 140, 450, 185, "white", "gray70")
    ys = {}
    segs = [(30, 90, 120, 35), (120, 35, 200, 80), (200, 80, 170, 95), (170, 95, 260, 40), (260, 40, 430, 85)]
    for x0, y0, x1, y1 in segs:
        n = max(1, abs(x1 - x0))
        for k in range(n + 1):
            x = round(x0 + (x1 - x0) * k / n)
            y = y0 + (y1 - y0) * k / n
            ys[x] = max(ys.get(x, 0), y)
    p.line([(x, 140 + (ys[x] - 22) * 45 / 88) for x in sorted(ys)], "blue", 2)
    p.save("HelpNijuu.bmp")


def tool_window():
    """The tool window's buttons with their real icons (the 32 x 32 image of
    each icon file in assets/parts), numbered and named."""
    # The eraser's file name ends in ".ico" twice, as the program looks for it.
    icons = [n + "のアイコン.ico" for n in ("Saisei", "Rec", "Stop", "SentakuHanni", "Sentakuのアイコン", "Kyokusen",
                                             "Chokusen", "HzChokusen", "Clear", "KakudaiHyouji",
                                             "超", "エ", "ラ", "合", "Memo", "MemoRead")]
    icons[8] += ".ico"
    names = ["再生", "録音", "停止", "選択範囲、マーカー", "選択（レイヤーにする）", "曲線", "直線",
             "「高さ(Hz)」を直線的に変える曲線", "消しゴム", "拡大（左クリック）縮小（右クリック）表示",
             "超ランダム波", "超ランダムエフェクト波", "ランダムSin波", "ランダム合成Sin波",
             "ランダム情報のメモをとる", "メモを読み込む"]
    parts = os.path.join(HERE, "..", "assets", "parts")
    with tempfile.TemporaryDirectory() as tmp:
        p = Picture(370, 16 * 34 + 12)
        for i, (icon, n) in enumerate(zip(icons, names)):
            y = 6 + i * 34
            png = os.path.join(tmp, "%d.png" % i)
            # [1] is the 32 x 32 image, as the button shows it
            subprocess.run(["convert", os.path.join(parts, icon) + "[1]", png], check=True)
            p.rect(6, y, 41, y + 33, "#d4d0c8", "gray40")
            p.image(8, y + 1, png)
            p.text(50, y + 22, "%d　%s" % (i + 1, n), "black", 12)
        p.save("HelpToolWindow.bmp", 64)


def arrow_keys():
    p = Picture(460, 150)
    keys = [(190, 20, "↑", "音量を1.1倍（大きく）"), (190, 100, "↓", "音量を0.9倍（小さく）"),
            (120, 60, "←", ""), (260, 60, "→", "")]
    for x, y, k, _ in keys:
        p.rect(x, y, x + 36, y + 30, "#e8e8e8", "gray40")
        p.text(x + 11, y + 21, k, "black", 16)
    p.text(235, 40, "音量を1.1倍（大きく）", "blue", 12)
    p.text(235, 125, "音量を0.9倍（小さく）", "blue", 12)
    p.text(8, 70, "半音低く", "red", 12)
    p.text(8, 86, "（長くなる）", "red", 11)
    p.text(302, 70, "半音高く", "red", 12)
    p.text(302, 86, "（短くなる）", "red", 11)
    p.save("HelpYajirushi.bmp")


def super_random():
    p = Picture(460, 130)
    axis(p, 10, 450, 60)
    x, seed = 10, 7
    kinds = [sine(9), sine(20), lambda t: math.sin(t / 3) * math.sin(t / 17), sine(5), None, sine(14)]
    i = 0
    while x < 440:
        seed = (seed * 1103515245 + 12345) & 0xFFFFFFFF
        w = 40 + (seed >> 16) % 60
        f = kinds[i % len(kinds)]
        end = min(450, x + w)
        if f is None:
            pts = []
            for xx in range(x, end, 2):
                seed = (seed * 1103515245 + 12345) & 0xFFFFFFFF
                pts.append((xx, 60 - (((seed >> 16) % 100) - 50) * 0.7))
            p.line(pts, "black", 1)
        else:
            p.wave(f, x, end, 60, 35, "black", 1)
        p.line([(end, 15), (end, 105)], "gray70", 1)
        x, i = end, i + 1
    p.text(10, 124, "１秒の中が、種類も高さも違う短い波の集まりになる", "blue", 12)
    p.save("HelpChouRandom.bmp")


def effect_sounds():
    """One picture per kind of the 効果音 menu: the waveform, the volume graph
    and the pitch graph as the kind draws them (middle of its ranges)."""
    def vol(attack, sustain):
        return lambda x: min(1.0, x / attack) if x < attack else (1.0 if x < sustain else max(0.0, (1 - x) / (1 - sustain)))

    def steps(start, end, first, n):
        def f(x):
            if x < first:
                return start
            return start + (end - start) * min(n, 1 + int((x - first) / ((1 - first) / n))) / n
        return f

    glide = lambda a, b: (lambda x: a + (b - a) * x)
    kinds = [  # file, name, waveform, volume, pitch (semitones over the length)
        ("HelpSfxCoin.bmp", "コイン", "square", vol(0.01, 0.4), steps(0, 7, 0.25, 1)),
        ("HelpSfxLaser.bmp", "レーザー", "saw", vol(0.01, 0.2), glide(12, -10)),
        ("HelpSfxBakuhatsu.bmp", "爆発", "lownoise", vol(0.01, 0.1), glide(1.5, -11)),
        ("HelpSfxPowerUp.bmp", "パワーアップ", "triangle", vol(0.01, 0.6), steps(0, 18, 0.15, 5)),
        ("HelpSfxDamage.bmp", "ダメージ", "noise", vol(0.005, 0.07), glide(3, -10)),
        ("HelpSfxJump.bmp", "ジャンプ", "square", vol(0.02, 0.4), glide(-1, 9.5)),
        ("HelpSfxPi.bmp", "ピッ", "sine", vol(0.02, 0.5), steps(0, 1.5, 0.45, 1)),
    ]
    seed = 11
    for name, label, shape, env, pitch in kinds:
        p = Picture(460, 74)
        p.text(6, 16, label, "black", 13)
        bands = [(110, "波形", "black"), (225, "音量", "blue"), (340, "高さ", "red")]
        for x0, title, colour in bands:
            p.rect(x0, 6, x0 + 110, 68, "white", "gray70")
            p.text(x0 + 4, 19, title, colour, 11)
        # the waveform as heard: the shape under its envelope
        pts, phase_ = [], 0.0
        for i in range(0, 220):
            x = i / 219.0
            phase_ += 0.5 * 2 ** (pitch(x) / 12)
            u = (phase_ / 6.0) % 1.0
            if shape == "square":
                v = 1 if u < 0.5 else -1
            elif shape == "triangle":
                v = 4 * u - 1 if u < 0.5 else 3 - 4 * u
            elif shape == "saw":
                v = 2 * u - 1
            elif shape == "sine":
                v = math.sin(2 * math.pi * u)
            else:
                seed = (seed * 1103515245 + 12345) & 0xFFFFFFFF
                v = ((seed >> 16) % 200 - 100) / 100.0
                if shape == "lownoise" and pts:
                    v = 0.8 * (pts[-1][1] - 40) / -24 + 0.2 * v * 2.5
            pts.append((112 + x * 106, 40 - 24 * max(-1, min(1, v)) * env(x)))
        p.line(pts, "black", 1)
        p.line([(227 + x * 106, 64 - 38 * env(x)) for x in [i / 200.0 for i in range(201)]], "blue", 2)
        p.line([(342 + x * 106, 44 - 1.2 * pitch(x)) for x in [i / 200.0 for i in range(201)]], "red", 2)
        p.save(name)


def main():
    os.makedirs(OUT, exist_ok=True)
    for make in (wave_basics, frequencies, phase, waveforms, envelope, pitch_graph,
                 layers, mixing, stereo, chorus_distortion, double_line,
                 tool_window, arrow_keys, super_random, effect_sounds):
        make()
    return 0


if __name__ == "__main__":
    sys.exit(main())
