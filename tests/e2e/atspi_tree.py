#!/usr/bin/python3
# The utility's windows as a screen reader sees them, through AT-SPI.
#   atspi_tree.py dump APP_NAME            prints every window's tree (role, name, value, states)
#   atspi_tree.py check APP_NAME           the main window holds every control with its role,
#                                          name and value; exits 1 with the faults otherwise
#   atspi_tree.py act APP_NAME NAME...     runs the default action of each named control, in order
import sys
import time

import pyatspi


def app(name):
    for _ in range(100):
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == name:
                return a
        time.sleep(0.1)
    names = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
    sys.exit("FAIL: no application %r on the accessibility bus (there are %r)" % (name, names))


def value(acc):
    try:
        return acc.queryText().getText(0, -1)
    except NotImplementedError:
        return ""


def states(acc):
    s = acc.getState()
    wanted = [pyatspi.STATE_FOCUSED, pyatspi.STATE_SELECTED, pyatspi.STATE_CHECKED]
    return [pyatspi.stateToString(x) for x in wanted if s.contains(x)]


def walk(acc, depth=0, out=None):
    out = [] if out is None else out
    out.append((depth, acc))
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)
    return out


def line(depth, acc):
    text = "%s%s \"%s\"" % ("  " * depth, acc.getRoleName(), acc.name)
    v = value(acc)
    if v:
        text += " = \"%s\"" % v
    s = states(acc)
    if s:
        text += " [%s]" % ", ".join(s)
    return text


def windows(a):
    return [a.getChildAtIndex(i) for i in range(a.childCount)]


def find(a, name):
    for w in windows(a):
        for _, acc in walk(w):
            if acc.name == name and acc.getRoleName() != "list item":
                return acc
    sys.exit("FAIL: no control named %r" % name)


def check(a):
    main = max(windows(a), key=lambda w: w.queryComponent().getExtents(0).width)
    found = {acc.name: acc for _, acc in walk(main)}
    expected = [("push button", "OK", None), ("push button", "Apply", None),
                ("push button", "Cancel", None), ("push button", "Default", None),
                ("push button", "Skin", None), ("push button", "Minimise", None),
                ("push button", "Close", None), ("page tab", "Mode A", None),
                ("page tab", "Mode B", None), ("combo box", "Button 1", "Left Click"),
                ("combo box", "Button 6", "DPI Loop"), ("radio button", "125 Hz", None),
                ("radio button", "1000 Hz", None), ("combo box", "DPI stage 1", "400"),
                ("color chooser", "DPI stage 1 colour", "#"), ("combo box", "Mode", None),
                ("combo box", "Parameter", None), ("combo box", "Effect", None)]
    faults = []
    for role, name, val in expected:
        acc = found.get(name)
        if acc is None:
            faults.append("missing %s %r" % (role, name))
            continue
        if acc.getRoleName() != role:
            faults.append("%r is a %s, not a %s" % (name, acc.getRoleName(), role))
        if val is not None and not value(acc).startswith(val):
            faults.append("%r shows %r, not %r" % (name, value(acc), val))
    tabs = [n for n in ("Mode A", "Mode B") if n in found and "selected" in states(found[n])]
    if tabs != ["Mode A"]:
        faults.append("selected key set tabs: %r" % tabs)
    rates = [n for n in ("125 Hz", "250 Hz", "500 Hz", "1000 Hz")
             if n in found and "checked" in states(found[n])]
    if len(rates) != 1:
        faults.append("checked report rates: %r" % rates)
    if faults:
        sys.exit("FAIL: " + "; ".join(faults))
    print("the tree holds every control (%d objects)" % len(found))


def main():
    mode, name = sys.argv[1], sys.argv[2]
    a = app(name)
    if mode == "dump":
        for w in windows(a):
            for depth, acc in walk(w):
                print(line(depth, acc))
    elif mode == "check":
        check(a)
    elif mode == "act":
        for control in sys.argv[3:]:
            acc = find(a, control)
            acc.queryAction().doAction(0)
            time.sleep(0.5)
    else:
        sys.exit("usage: atspi_tree.py dump|check|act APP_NAME [NAME...]")


main()
