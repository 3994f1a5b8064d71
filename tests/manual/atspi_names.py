# What an AT-SPI client sees of Pirokan: every showing node named, a board
# cell pressed through its action, the covered board not showing, and the
# options and access dialogs named too. Run inside a D-Bus session with the
# AT-SPI bus and Pirokan started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1:
#   /usr/bin/python3 tests/manual/atspi_names.py   (needs python3-pyatspi)
import pyatspi, sys
desktop = pyatspi.Registry.getDesktop(0)
app = None
for a in desktop:
    if a and a.name and 'pirokan' in a.name.lower():
        app = a
if app is None:
    print("apps:", [a.name for a in desktop if a]); sys.exit(1)
unnamed, seen = [], 0
def walk(node, depth, path):
    global seen
    try:
        states = node.getState()
    except Exception:
        return
    showing = states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)
    role = node.getRoleName()
    if showing:
        seen += 1
        if not (node.name or '').strip() and role not in ('filler', 'panel', 'frame', 'application', 'scroll pane', 'scroll bar', 'viewport', 'unknown', 'redundant object'):
            unnamed.append(f"{path}/{role}")
    if depth > 12:
        return
    for i in range(node.childCount):
        c = node.getChildAtIndex(i)
        if c is not None:
            walk(c, depth + 1, f"{path}/{role}[{i}]")
walk(app, 0, '')
print("showing nodes:", seen)
print("unnamed:", unnamed[:40])
# A board cell and its action
def first(node, test, depth=0):
    if test(node): return node
    if depth > 12: return None
    for i in range(node.childCount):
        c = node.getChildAtIndex(i)
        if c is not None:
            r = first(c, test, depth + 1)
            if r: return r
table = first(app, lambda n: n.getRoleName() == 'table')
print("first table:", table.name, "cells:", table.childCount)
cell = table.getChildAtIndex(8)
act = cell.queryAction()
print("cell 8:", cell.name, [act.getName(i) for i in range(act.nActions)])
act.doAction(0)
import time
time.sleep(1)
st = table.getState()
print("board showing while covered:", st.contains(pyatspi.STATE_SHOWING))
def byname(node, name):
    return first(node, lambda n: (n.name or '') == name)
byname(app, '文字選択画面を閉じる').queryAction().doAction(0)
time.sleep(0.5)
print("board showing again:", table.getState().contains(pyatspi.STATE_SHOWING))
def walkDialog(title):
    global seen
    unnamed.clear(); seen = 0
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == title:
            walk(w, 0, title)
    print(title, "showing nodes:", seen, "unnamed:", unnamed)
byname(app, '設定').queryAction().doAction(0)
time.sleep(1.5)
walkDialog('オプション')
byname(app, '操作方法…').queryAction().doAction(0)
time.sleep(1.5)
walkDialog('操作方法')
