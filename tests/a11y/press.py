"""Presses the boxes named on the command line, in order, through their accessible Press
actions in the program with the given process id. Usage: press.py PID BOX..."""
import sys
import time

import pyatspi


def board_of(pid):
    for _ in range(200):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                board = pyatspi.findDescendant(app, lambda a: a.name == "Board")
                if board is not None:
                    return board
        time.sleep(0.1)
    sys.exit("the program's board never reached the accessibility bus")


board = board_of(int(sys.argv[1]))
for box in sys.argv[2:]:
    board[int(box) - 1].queryAction().doAction(0)
