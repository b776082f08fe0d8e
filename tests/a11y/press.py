"""Presses the boxes named on the command line, in order, through their accessible Press
actions in the program with the given process id. Usage: press.py PID BOX..."""
import sys
import time

import pyatspi

for _ in range(200):
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == int(sys.argv[1])]
    board = apps and pyatspi.findDescendant(apps[0], lambda a: a.name == "Board")
    if board:
        break
    time.sleep(0.1)
for box in sys.argv[2:]:
    board[int(box) - 1].queryAction().doAction(0)
