#!/usr/bin/env python3
"""A one-switch user with a steady reaction, for the timing that follows the user.

Run by follow_switch.sh under Xvfb. It reads the program's access log, and
presses Space a reaction time after the highlight reaches what it wants:
first "ん" typed again and again with a quick reaction, then top-level
presses far too late, which land in the wrong column and leave it unchosen.
It prints the interval seen between highlights as it goes.
"""
import re
import subprocess
import sys
import time

LINE = re.compile(r'^\s*([\d.]+) highlight "(.*)" std::vector\(([\d, ]*)\)')


class Log:
    def __init__(self, path):
        self.f = open(path, encoding="utf-8", errors="replace")
        self.f.seek(0, 2)  # what is logged from now on
        self.last = None  # the last highlight's time, in the program's clock, and its place
        self.interval = None

    def next(self, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            line = self.f.readline()
            if not line:
                time.sleep(0.005)
                continue
            m = LINE.match(line)
            if not m:
                continue
            t, label = float(m.group(1)), m.group(2)
            path = [int(x) for x in m.group(3).split(",") if x.strip()]
            # The interval is what a tick takes: one item on in the same group.
            if self.last is not None:
                lt, lp = self.last
                if len(lp) == len(path) and lp[:-1] == path[:-1] and path[-1] == lp[-1] + 1:
                    self.interval = t - lt
            self.last = (t, path)
            return label, path
        sys.exit("no highlight for %d s" % timeout)

    def until(self, label, depth=None):
        while True:
            l, p = self.next()
            if l == label and (depth is None or len(p) == depth):
                return p


def press():
    subprocess.run(["xdotool", "key", "space"], check=True)


def main():
    log = Log(sys.argv[1])
    quick, presses = float(sys.argv[2]), int(sys.argv[3])
    n = 0
    while n < presses:
        # The わ column, its ん cell, ん on the selection screen.
        for label, depth in (("わ", 1), ("ん", 2), ("ん", None)):
            log.until(label, depth)
            time.sleep(quick)
            press()
            n += 1
        print("press %3d interval seen %.2f s" % (n, log.interval or 0), flush=True)
    # Late presses: meant for the か column, they land further on and that column is left unchosen.
    for i in range(int(sys.argv[4])):
        log.until("か", 1)
        time.sleep(2.2 * (log.interval or 1.0))
        press()
        log.until("あ", 1)  # back at the top after two rounds in the wrong column
        print("late %d interval seen %.2f s" % (i + 1, log.interval or 0), flush=True)


main()
