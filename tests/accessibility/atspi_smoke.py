#!/usr/bin/python3
"""Smoke test through the desktop accessibility bus (AT-SPI), as a screen reader sees the program.

Starts the program, finds the main window's 26 buttons by the captions the program's catalogue
lists, presses one through its AT-SPI action and finds the calculator it opens with its fields,
each named by its prompt. Run inside a
session bus and an X server (atspi-smoke.sh arranges both). Exit 0 on success, 1 on a failure,
77 when the accessibility bus cannot be reached at all.
"""

import os
import subprocess
import sys
import time

SKIP = 77
APPLICATION = "velaro-paint"
WAIT_SECONDS = 20



def button_captions(catalogue):
    """The main window's button captions by window class, as the program's catalogue lists them."""
    lines = subprocess.run([catalogue], check=True, capture_output=True,
                           text=True, encoding="utf-8").stdout.splitlines()
    return dict(line.split("\t", 1) for line in lines)


# The calculator opened by the balcony doors' button and what its fields are called.
CALCULATOR_FORM = "TForm23"
CALCULATOR_CAPTION = "Калькулятор окраски балконных дверей"
CALCULATOR_FIELDS = {
    "Введите площадь дверных проемов по наружному обводу коробок:",
    "Введите количество переплетов (1 или 2):",
    "Площадь окрашиваемой поверхности заполнения дверных проемов - балконных дверей:",
}
COMPUTE_AND_RESET = {"Расчитать", "Сброс"}


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(what, find):
    """Polls find() until it returns something, or fails naming what was awaited."""
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.25)
    fail("no %s within %d s" % (what, WAIT_SECONDS))


def descendants(accessible, role):
    found = []
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is None:
            continue
        if child.getRole() == role:
            found.append(child)
        found.extend(descendants(child, role))
    return found


def application(desktop):
    for i in range(desktop.childCount):
        child = desktop.getChildAtIndex(i)
        if child is not None and child.name == APPLICATION:
            return child
    return None


def frame(app, caption):
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and child.name == caption:
            return child
    return None


def main():
    try:
        import pyatspi
    except ImportError as error:
        print("SKIP: python3-pyatspi is missing (%s); scripts/install-deps.sh installs it" % error)
        return SKIP
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.childCount
    except Exception as error:  # the bus itself did not start
        print("SKIP: the accessibility bus cannot be reached: %s" % error)
        return SKIP

    captions = button_captions(sys.argv[2])
    calculator_button = captions.get(CALCULATOR_FORM)
    if len(captions) != 26:
        fail("the catalogue lists %d calculators, expected 26" % len(captions))
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([sys.argv[1]], env=environment)
    try:
        app = wait_for("application '%s' on the accessibility bus" % APPLICATION,
                       lambda: application(desktop))
        main_window = wait_for("main window", lambda: frame(app, "Velaro Калькулятор окраски"))
        buttons = {}
        for button in descendants(main_window, pyatspi.ROLE_PUSH_BUTTON):
            buttons[button.name] = button
        missing = [name for name in captions.values() if name not in buttons]
        if missing:
            fail("main-window buttons not found by name: %s" % missing)
        print("found the main window's %d buttons by name" % len(captions), flush=True)

        action = buttons[calculator_button].queryAction()
        press = [i for i in range(action.nActions) if action.getName(i) in ("Press", "press")]
        if not press:
            fail("'%s' offers no press action" % calculator_button)
        action.doAction(press[0])
        calculator = wait_for("calculator window '%s'" % CALCULATOR_CAPTION,
                              lambda: frame(app, CALCULATOR_CAPTION))

        fields = wait_for("fields in the calculator",
                          lambda: descendants(calculator, pyatspi.ROLE_TEXT))
        names = {field.name for field in fields}
        if names != CALCULATOR_FIELDS:
            fail("calculator fields are named %s, expected %s" % (sorted(names),
                                                                  sorted(CALCULATOR_FIELDS)))
        for field in fields:
            labels = [relation for relation in field.getRelationSet()
                      if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY]
            if not labels:
                fail("field '%s' reports no label" % field.name)
        boxes = descendants(calculator, pyatspi.ROLE_CHECK_BOX)
        if not boxes or any(not box.name for box in boxes):
            fail("check boxes without names: %s" % [box.name for box in boxes])
        computed = {button.name for button in descendants(calculator, pyatspi.ROLE_PUSH_BUTTON)}
        if not COMPUTE_AND_RESET <= computed:
            fail("calculator buttons are %s" % sorted(computed))
        print("found the calculator's %d fields and %d check boxes by name"
              % (len(fields), len(boxes)), flush=True)
    finally:
        program.terminate()
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
    if program.returncode not in (0, -15):
        fail("the program ended with %s" % program.returncode)
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
