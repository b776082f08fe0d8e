"""Plays a nine-edge game through the screen reader's view of the program alone: reads the
board's names and descriptions from AT-SPI and clicks boxes by their Press actions. What a
reader speaks is checked with Orca itself (orca.sh)."""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

FIGURE = "The figure: a circle, the square inscribed in it and both diagonals"
# A nine-edge game. Which texts each state gets is the core's tests' business; here each move's
# press must reach the board and its new texts the reader.
GAME = [2, 1, 3, 1, 4, 2, 4, 3, 4]
failures = []


def check(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def wait_for(find, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        GLib.MainContext.default().iteration(False)
        time.sleep(0.05)
    sys.exit("timed out waiting for the program's accessibility tree")


def find(root, role, name=None):
    return pyatspi.findDescendant(
        root, lambda a: a.getRole() == role and (name is None or a.name == name))


def main(program):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    game = subprocess.Popen([program], env=env)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for(lambda: next(
            (a for a in desktop if a is not None and a.get_process_id() == game.pid), None))
        board = wait_for(lambda: find(app, pyatspi.ROLE_PANEL, "Board"))
        boxes = {n: board[n - 1] for n in range(1, 5)}
        check("boxes", [(b.name, b.getRole()) for b in boxes.values()],
              [(f"Box {n}", pyatspi.ROLE_PUSH_BUTTON) for n in range(1, 5)])
        check("fresh board", board.description, "0 of 10 edges traced")
        for step, box in enumerate(GAME, 1):
            action = boxes[box].queryAction()
            check("action", action.getName(0), "Press")
            action.doAction(0)
            check(f"move {step} board", board.description, f"{step} of 10 edges traced")
            check(f"move {step} box {box}", boxes[box].description, "pen here")

        # Help opens a modal dialog, so it goes by its access key rather than a blocking Press.
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(game.pid),
                                 "--name", "Tessarline"], capture_output=True, text=True,
                                check=True).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        subprocess.run(["xdotool", "key", "alt+h"], check=True)
        dialog = wait_for(lambda: find(app, pyatspi.ROLE_DIALOG))
        check("help modal", dialog.getState().contains(pyatspi.STATE_MODAL), True)
        check("Help left", find(app, pyatspi.ROLE_MENU_ITEM, "Help").getState().contains(
            pyatspi.STATE_FOCUSED), False)
        check("help picture", find(dialog, pyatspi.ROLE_IMAGE).name, FIGURE)
        check("help OK", find(dialog, pyatspi.ROLE_PUSH_BUTTON, "OK") is not None, True)
    finally:
        game.terminate()
        game.wait()
    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
