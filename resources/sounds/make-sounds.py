#!/usr/bin/env python3
"""Writes the station's two short sounds as 16-bit mono wave files next to this script."""
import math
import os
import struct
import wave

RATE = 22050


def write(name, samples):
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), name)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 20000)) for s in samples))


def tone(frequency, seconds, decay):
    count = int(RATE * seconds)
    for i in range(count):
        t = i / RATE
        attack = min(1.0, i / (0.005 * RATE))
        release = min(1.0, (count - i) / (0.01 * RATE))
        yield math.sin(2 * math.pi * frequency * t) * math.exp(-decay * t) * attack * release


def sweep(start, end, seconds):
    count = int(RATE * seconds)
    phase = 0.0
    for i in range(count):
        frequency = start + (end - start) * i / count
        phase += 2 * math.pi * frequency / RATE
        envelope = math.sin(math.pi * i / count)
        yield math.sin(phase) * envelope


# Two falling tones before a warning; a short rising blip for success.
write("chimes.wav", list(tone(1046.5, 0.15, 8.0)) + list(tone(784.0, 0.15, 8.0)))
write("hello.wav", list(sweep(600.0, 1200.0, 0.2)))
