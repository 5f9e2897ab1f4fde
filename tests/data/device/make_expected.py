#!/usr/bin/env python3
"""Writes the barograph files the download must produce for the three flights of
tests/device/downloadrig.h (threeFlights), worked out here from the reply and file tables
by hand-written Python, independently of the program's code."""

flights = [
    # date, time, interval, samples (0.1 m), offset (0.1 m)
    ("24/05/01", "10:15:00", 1, [12000, 12010, 12030, 12020, 11990], 100),
    ("24/05/02", "11:30:00", 2, [9000, 9100, 9150, 9120, 9000, 8800], -50),
    ("24/05/03", "14:05:00", 4, [15000, 15200, 15500, 15100, 14000, 12000, 9000], 0),
]

for date, time, interval, samples, offset in flights:
    name = "V" + date[1] + date[3:5] + date[6:8] + time[0:2] + ".V" + time[3:5]
    lines = [" %d" % len(samples), " %d" % interval, " 0"]
    lines += [" %5.1f" % ((s + offset) * 0.1 + 0.0001) for s in samples]
    with open(name + ".expected", "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("ascii"))
