#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
"""The real program as a screen reader on Linux sees and drives it: through
AT-SPI alone, on a D-Bus session bus and an accessibility bus of this test's
own, on the X display given in DISPLAY (scripts/with-xvfb.sh starts one).

    PROGRAM=build/window/velmora scripts/with-xvfb.sh /usr/bin/python3 tests/check_accessibility.py

Needs dbus-daemon, at-spi2-core and Debian's python3-pyatspi (which runs on
Debian's own /usr/bin/python3). Every process it starts is stopped at the
end, also on failure.
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

TITLE = "https://velmora.example Математика - двойки числа с равни суми"
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
WAIT = 20.0  # seconds at most for the program to answer; never a measure

failures = 0


def check(condition, what):
    global failures
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures += 1
    return condition


def wait_for(find, what):
    """find()'s first true answer, asked again until WAIT has passed."""
    deadline = time.monotonic() + WAIT
    while True:
        found = find()
        if found or time.monotonic() > deadline:
            break
        time.sleep(0.05)
    if not found:
        raise AssertionError("gave up waiting for " + what)
    return found


class Processes:
    """Started processes, each in a process group of its own, all stopped at
    the end with whatever they started."""

    def __init__(self):
        self.started = []

    def start(self, command, **options):
        process = subprocess.Popen(command, start_new_session=True, **options)
        self.started.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.started):
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(process.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    process.wait(timeout=5)
                    break
                except subprocess.TimeoutExpired:
                    continue
            # Helpers the process started in its group and left behind.
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


def start_buses(processes, folder):
    """A private session bus, and the accessibility bus on it: the address of
    the session bus."""
    bus = processes.start(["dbus-daemon", "--session", "--nofork", "--address=unix:dir=" + folder,
                           "--print-address=1"], stdout=subprocess.PIPE, text=True)
    address = bus.stdout.readline().strip()
    if not address:
        raise AssertionError("dbus-daemon gave no address")
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    os.environ["XDG_RUNTIME_DIR"] = folder  # the accessibility bus's socket goes here
    os.environ["GSETTINGS_BACKEND"] = "memory"  # touch no user settings
    processes.start([LAUNCHER, "--launch-immediately"])

    # As a screen reader does when it starts: switch accessibility on.
    from gi.repository import Gio, GLib
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def switched_on():
        try:
            session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                              GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled",
                                                     GLib.Variant("b", True))),
                              None, Gio.DBusCallFlags.NO_AUTO_START, 1000, None)
            return True
        except GLib.Error:
            return False  # the launcher has not taken its name yet
    wait_for(switched_on, "the accessibility bus")


def main():
    processes = Processes()
    with tempfile.TemporaryDirectory(prefix="velmora-a11y-") as folder:
        try:
            start_buses(processes, folder)
            environment = dict(os.environ, QT_QPA_PLATFORM="xcb")
            processes.start([os.environ["PROGRAM"]], env=environment)
            import pyatspi
            check_program(pyatspi)
        except AssertionError as error:
            check(False, str(error))
        finally:
            processes.stop_all()
    print("accessibility: %d failed" % failures if failures else "accessibility: all checks passed")
    return 1 if failures else 0


# --- What a screen reader finds -------------------------------------------

def children(node):
    node.clearCache()
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def states(node):
    node.clearCache()
    return node.getState()


def find(root, role, name=None):
    for node in descendants(root):
        if node.getRole() == role and (name is None or node.name == name):
            return node
    return None


def press(pyatspi, button):
    """Its press action, then the wait until the button has come up again:
    Qt presses at once and releases (and clicks) a moment later."""
    actions = button.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if not check("Press" in names, "«%s» has a press action (%s)" % (button.name, ", ".join(names))):
        return
    actions.doAction(names.index("Press"))
    wait_for(lambda: not states(button).contains(pyatspi.STATE_PRESSED), "«%s» to come up" % button.name)


def text_of(node):
    node.clearCache()
    text = node.queryText()
    return text.getText(0, text.characterCount)


def related(pyatspi, node, relation):
    node.clearCache()
    return [r.getTarget(i) for r in node.getRelationSet() if r.getRelationType() == relation
            for i in range(r.getNTargets())]


def check_program(pyatspi):
    desktop = pyatspi.Registry.getDesktop(0)

    def application():
        return next((a for a in children(desktop) if a is not None and a.name == "Velmora"), None)
    app = wait_for(application, "the program on the accessibility bus")
    window = wait_for(lambda: find(app, pyatspi.ROLE_FRAME), "its window")
    check(window.name == TITLE, "the window is named by its title: «%s»" % window.name)

    labels = [node.name for node in descendants(window) if node.getRole() == pyatspi.ROLE_LABEL]
    check(labels == ["Velmora", "Числа"], "two labels: %s" % labels)
    label = find(window, pyatspi.ROLE_LABEL, "Числа")
    combo = find(window, pyatspi.ROLE_COMBO_BOX)
    check(combo is not None and combo.name == "Числа", "a combo box named «Числа»")
    check(related(pyatspi, combo, pyatspi.RELATION_LABELLED_BY) == [label],
          "the combo box is labelled by the label «Числа»")
    check(related(pyatspi, label, pyatspi.RELATION_LABEL_FOR) == [combo],
          "the label «Числа» is the combo box's label")

    buttons = {node.name: node for node in descendants(window) if node.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    check(sorted(buttons) == sorted(["Въведи", "Изведи", "Изчисти"]), "three buttons: %s" % list(buttons))

    texts = [node for node in descendants(window) if node.getRole() == pyatspi.ROLE_TEXT]
    report = next((node for node in texts if node.name == "Двойки числа"), None)
    if check(report is not None, "a text named «Двойки числа»"):
        report_states = states(report)
        check(all(report_states.contains(s) for s in (pyatspi.STATE_READ_ONLY, pyatspi.STATE_MULTI_LINE,
                                                      pyatspi.STATE_SHOWING)),
              "the report box is shown, read-only and multi-line")
        check(text_of(report).startswith("Да се реализира проект"), "the report box's text can be read")

    hidden = [node for node in descendants(window) if node.name in ("Допълнения", "Цитат")]
    check(len(hidden) == 2 and not any(states(node).contains(pyatspi.STATE_SHOWING) for node in hidden),
          "the hidden list and quotation are not showing")
    if failures:
        return

    # The road of one number, through AT-SPI alone.
    field = find(combo, pyatspi.ROLE_TEXT)
    field.queryEditableText().setTextContents("42")
    check(text_of(field) == "42", "42 put into the number field")
    combo.clearCache()
    check(combo.name == "Числа", "the combo box keeps its name with 42 typed")
    press(pyatspi, buttons["Въведи"])
    check(text_of(field) == "", "«Въведи» empties the number field")
    press(pyatspi, buttons["Изведи"])
    check(text_of(report) == "42 + 57 = 99\n", "«Изведи» reports 42 + 57 = 99")
    press(pyatspi, buttons["Изчисти"])
    check(text_of(report) == "", "«Изчисти» empties the report box")

    # A number too large: the message is announced, and can be read.
    field.queryEditableText().setTextContents("2147483648")
    press(pyatspi, buttons["Въведи"])

    def message():
        return next((node for node in children(app)
                     if node.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)), None)
    alert = wait_for(message, "the too-large message")
    said = " ".join([alert.name] + [node.name for node in descendants(alert)])
    check("Числото е твърде голямо" in said, "the too-large message reads: %s" % said)
    dismiss = find(alert, pyatspi.ROLE_PUSH_BUTTON, "Добре")
    if check(dismiss is not None, "the message has the button «Добре»"):
        press(pyatspi, dismiss)
        wait_for(lambda: message() is None, "the message to close")
        check(text_of(field) == "2147483648", "the too-large text stays for correcting")


if __name__ == "__main__":
    sys.exit(main())
