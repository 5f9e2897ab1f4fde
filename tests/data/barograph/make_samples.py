#!/usr/bin/env python3
"""Writes the sample barograph files of this folder with Python's own formatting, independently
of the program's writer, so that the reader is tested against a second implementation of the
format. Run it from this folder; the outputs are committed."""
import math
import random


def barograph(interval, altitudes, marks=(), line_end='\r\n'):
    lines = [' %d' % len(altitudes), ' %d' % interval, ' %d' % len(marks)]
    lines += [' %d' % m for m in marks]
    lines += [' %5.1f' % a for a in altitudes]
    return (line_end.join(lines) + line_end).encode('ascii')


def thermal_flight(seed, interval, minutes):
    """A paraglider flight: launch at 612 m, a few thermals, glides, landing at 231 m."""
    rng = random.Random(seed)
    n = minutes * 60 // interval + 1
    alt, out, climb = 612.0, [], 0.0
    # ground time before take-off: the pilot waits on launch for a minute
    for _ in range(60 // interval):
        out.append(alt + rng.uniform(-0.3, 0.3))
    phase = 0
    def glide_samples():
        return int((alt - 231.0) / (1.3 * interval)) + 90 // interval

    while len(out) < n - glide_samples():
        phase += 1
        if phase % 3 == 0:      # thermal: climb at 1 to 3.5 m/s for a few minutes
            target = rng.uniform(1.0, 3.5)
            steps = rng.randint(60, 240) // interval
        else:                   # glide: sink at 0.8 to 1.6 m/s
            target = -rng.uniform(0.8, 1.6)
            steps = rng.randint(40, 160) // interval
        for _ in range(steps):
            if len(out) >= n - glide_samples():
                break
            climb += (target - climb) * 0.15 + rng.gauss(0, 0.25)
            alt = max(231.0, alt + climb * interval)
            out.append(alt)
    while alt > 231.0:          # final glide to the landing field, through some turbulence
        climb += (-1.35 - climb) * 0.15 + rng.gauss(0, 0.2)
        alt = max(231.0, alt + climb * interval)
        out.append(alt)
    while len(out) < n:         # packing up on the landing field
        out.append(231.0 + rng.uniform(-0.2, 0.2))
    return out[:n]


if __name__ == '__main__':
    flight = thermal_flight(7, 2, 58)
    with open('V7081114.V35', 'wb') as f:
        f.write(barograph(2, flight, marks=(30, 410, 1200)))
    with open('two-samples.V00', 'wb') as f:
        f.write(barograph(1, [100.0, 100.5]))
    with open('lf-only.V01', 'wb') as f:
        f.write(barograph(4, [512.3, 987.6, 700.0, 99.5], marks=(1, 3), line_end='\n'))
    with open('flat.V02', 'wb') as f:
        f.write(barograph(1, [99.5] * 20))
    with open('never-rises.V03', 'wb') as f:
        f.write(barograph(2, [1500.0 - 1.5 * i for i in range(40)]))
