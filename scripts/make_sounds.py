#!/usr/bin/env python3
"""Writes the program's short sounds as WAV files into data/Sounds/.

Each sound is a few sine tones with a soft attack and an exponential fade,
16-bit mono at 22050 Hz, made here from nothing but arithmetic:

    python3 scripts/make_sounds.py [output folder]
"""
import math
import os
import struct
import sys
import wave

RATE = 22050


def tone(freq, seconds, volume=0.45, decay=6.0, harmonics=((1, 1.0), (2, 0.25), (3, 0.08))):
    samples = []
    n = int(RATE * seconds)
    attack = int(RATE * 0.006)
    for i in range(n):
        t = i / RATE
        env = math.exp(-decay * t) * min(1.0, i / attack if attack else 1.0)
        env *= min(1.0, (n - i) / (RATE * 0.01))  # no click at the end
        v = sum(a * math.sin(2 * math.pi * freq * k * t) for k, a in harmonics)
        samples.append(volume * env * v / 1.33)
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def mix_sequence(parts):
    out = []
    for p in parts:
        out.extend(p)
    return out


SOUNDS = {
    # Two rising notes: new mail.
    "NewMail.wav": lambda: mix_sequence([tone(880, 0.16, decay=9), tone(1318.5, 0.42, decay=7)]),
    # A single soft bell.
    "Chime.wav": lambda: tone(1046.5, 0.7, decay=5, harmonics=((1, 1.0), (2.76, 0.3), (5.4, 0.1))),
    # Three quick notes going up.
    "Notify.wav": lambda: mix_sequence([tone(659.3, 0.1, decay=14), tone(784, 0.1, decay=14), tone(1046.5, 0.35, decay=8)]),
    # Two low falling notes: something went wrong.
    "Error.wav": lambda: mix_sequence([tone(392, 0.18, decay=8, harmonics=((1, 1.0), (3, 0.3), (5, 0.15))),
                                       silence(0.03),
                                       tone(261.6, 0.38, decay=6, harmonics=((1, 1.0), (3, 0.3), (5, 0.15)))]),
}


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "Sounds")
    os.makedirs(out, exist_ok=True)
    for name, make in SOUNDS.items():
        write(os.path.join(out, name), make())


if __name__ == "__main__":
    main()
