#!/usr/bin/env python3
"""Generates the two message sounds of Varno as small WAV files.

  alarm.wav    three urgent two-tone beeps (about 1.1 s)
  service.wav  a soft rising two-note chime (about 0.6 s)

Both are 16-bit mono PCM at 16000 Hz, written to resources/myFiles/audio/.
Run it again after changing a tone:  python3 tools/make_sounds.py
Only the Python standard library is used.
"""
import math
import os
import struct
import wave

RATE = 16000
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, os.pardir, "resources", "myFiles", "audio")


def tone(freq, seconds, volume, attack=0.01, release=0.05, harmonics=(1.0,)):
    """One note with a short linear attack and an exponential-ish release."""
    n = int(RATE * seconds)
    samples = []
    for i in range(n):
        t = i / RATE
        env = 1.0
        if t < attack:
            env = t / attack
        left = seconds - t
        if left < release:
            env *= max(0.0, left / release)
        value = 0.0
        for k, weight in enumerate(harmonics, start=1):
            value += weight * math.sin(2 * math.pi * freq * k * t)
        samples.append(volume * env * value / sum(harmonics))
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def chime(freq, seconds, volume):
    """A bell-like note that fades away."""
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        env = min(1.0, t / 0.005) * math.exp(-5.0 * t)
        value = math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(2 * math.pi * 2 * freq * t)
        out.append(volume * env * value / 1.3)
    return out


def write(name, samples):
    path = os.path.join(OUT, name)
    os.makedirs(OUT, exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        frames = b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples)
        w.writeframes(frames)
    print("wrote", os.path.normpath(path), len(samples), "samples")


def main():
    alarm = []
    for _ in range(3):
        alarm += tone(988, 0.14, 0.55, harmonics=(1.0, 0.35, 0.15))
        alarm += tone(740, 0.14, 0.55, harmonics=(1.0, 0.35, 0.15))
        alarm += silence(0.08)
    write("alarm.wav", alarm)

    service = chime(659, 0.22, 0.45)
    service += chime(880, 0.40, 0.45)
    write("service.wav", service)


if __name__ == "__main__":
    main()
