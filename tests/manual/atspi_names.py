# What an AT-SPI client sees of Pirokan: every showing node named, the grids
# as tables (counts, the cell at a row and column, the chosen row or cell as
# the selection, row heads), button names that carry their captions in each
# mode and follow them, a board cell pressed through its action, the covered
# board (selection screen, widened text area) not showing, and the options and
# access dialogs named too. Run inside a D-Bus session with the AT-SPI bus and
# Pirokan started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 (see atspi_run.sh):
#   /usr/bin/python3 tests/manual/atspi_names.py   (needs python3-pyatspi)
import pyatspi, sys, time
from gi.repository import GLib

desktop = pyatspi.Registry.getDesktop(0)
app = None
for a in desktop:
    if a and a.name and 'pirokan' in a.name.lower():
        app = a
if app is None:
    print("apps:", [a.name for a in desktop if a]); sys.exit(1)

heard = []
def listen(event):
    try:
        hear(event)
    except Exception:
        pass  # an object gone with its dialog
def hear(event):
    if event.type.startswith('object:property-change:accessible-name'):
        heard.append(f"name-changed {event.source.getRoleName()} '{event.source.name}'")
    elif event.type.startswith('object:state-changed:selected'):
        heard.append(f"selected={event.detail1} {event.source.getRoleName()} '{event.source.name}'")
    elif event.type.startswith('object:state-changed:showing') and event.source.getRoleName() == 'table':
        heard.append(f"showing={event.detail1} table '{event.source.name}'")
pyatspi.Registry.registerEventListener(listen, 'object:property-change:accessible-name',
                                       'object:state-changed:selected', 'object:state-changed:showing')

def pump(seconds):
    ctx = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while ctx.pending():
            ctx.iteration(False)
        time.sleep(0.02)

def showing(node):
    try:
        st = node.getState()
    except Exception:
        return False
    return st.contains(pyatspi.STATE_SHOWING) and st.contains(pyatspi.STATE_VISIBLE)

def first(node, test, depth=0):
    if test(node): return node
    if depth > 12: return None
    for i in range(node.childCount):
        c = node.getChildAtIndex(i)
        if c is not None:
            r = first(c, test, depth + 1)
            if r: return r

def byname(name, role=None):
    return first(app, lambda n: (n.name or '') == name and (role is None or n.getRoleName() == role) and showing(n))

def table(name):
    return first(app, lambda n: n.getRoleName() == 'table' and (n.name or '') == name)

def press(node):
    node.queryAction().doAction(0)
    pump(0.8)

unnamed, seen = [], 0
def walk(node, depth, path):
    global seen
    if not showing(node):
        return
    role = node.getRoleName()
    seen += 1
    if not (node.name or '').strip() and role not in ('filler', 'panel', 'frame', 'application', 'scroll pane', 'scroll bar', 'viewport', 'unknown', 'redundant object'):
        unnamed.append(f"{path}/{role}")
    if depth > 12 or role == 'table':
        return
    for i in range(node.childCount):
        c = node.getChildAtIndex(i)
        if c is not None:
            walk(c, depth + 1, f"{path}/{role}[{i}]")

def position(tab, cell):
    # Through the cell's own interface where the bridge offers it, else through the table.
    try:
        return tuple(cell.queryTableCell().position)
    except NotImplementedError:
        i = cell.getIndexInParent()
        return (tab.getRowAtIndex(i), tab.getColumnAtIndex(i))

def describeTable(t, cells=3):
    tab = t.queryTable()
    rows, cols = tab.nRows, tab.nColumns
    out = [f"  table '{t.name}' showing={showing(t)} rows={rows} columns={cols}"
           f" selected rows={list(tab.getSelectedRows())}"]
    for r in range(min(rows, cells)):
        line = []
        for c in range(min(cols, 10)):
            cell = tab.getAccessibleAt(r, c)
            pos = position(tab, cell)
            sel = '*' if cell.getState().contains(pyatspi.STATE_SELECTED) else ''
            line.append(f"{sel}({pos[0]},{pos[1]})'{cell.name}'")
        desc = tab.getRowDescription(r)
        out.append(f"    row {r}{' [' + desc + ']' if desc else ''}: " + ' '.join(line))
    sel = []
    for i in range(t.childCount):
        cell = t.getChildAtIndex(i)
        if cell is not None and cell.getState().contains(pyatspi.STATE_SELECTED):
            pos = position(tab, cell)
            sel.append(f"({pos[0]},{pos[1]})'{cell.name}'")
    out.append("    selected cells: " + (', '.join(sel) or 'none'))
    return '\n'.join(out)

def dump(title):
    # Everything showing: the controls by role and name, and each showing table.
    print(f"== {title}")
    lines = []
    def visit(node, depth):
        if not showing(node):
            return
        role = node.getRoleName()
        if role == 'table':
            lines.append(describeTable(node))
            return
        if role in ('push button', 'text', 'label', 'panel', 'filler') and (node.name or role == 'push button'):
            desc = node.description
            lines.append(f"  {role} '{node.name}'" + (f" — {desc}" if desc else ''))
        for i in range(node.childCount):
            c = node.getChildAtIndex(i)
            if c is not None:
                visit(c, depth + 1)
    visit(app, 0)
    print('\n'.join(lines))

def names():
    out = []
    def visit(node):
        if not showing(node):
            return
        if node.getRoleName() == 'push button':
            out.append(node.name)
        if node.getRoleName() != 'table':
            for i in range(node.childCount):
                c = node.getChildAtIndex(i)
                if c is not None:
                    visit(c)
    visit(app)
    return out

walk(app, 0, '')
print("showing nodes:", seen, "unnamed:", unnamed[:40])
board = table('文字盤')
dump("board")

press(board.queryTable().getAccessibleAt(0, 8))
dump("selection screen, after pressing the board's か through its action")
print("board showing while covered:", showing(board))
press(table('選ぶ文字').queryTable().getAccessibleAt(1, 2))
print("board showing again:", showing(board), "board selection:", describeTable(board, 0).split('\n')[-1].strip())

print("== names per mode")
print("board:", names())
for _ in range(3):
    press(byname(names()[[n in ('ひら', 'カタ', '英数') for n in names()].index(True)]))
    print("page:", [n for n in names() if n in ('ひら', 'カタ', '英数')])
for col in (9, 8, 7, 6, 5, 4):  # a longer sentence to read: あかさたなは, each entered from the selection screen
    press(board.queryTable().getAccessibleAt(0, col))
    press(table('選ぶ文字').queryTable().getAccessibleAt(1, 1))
heard.clear()
byname('読む').queryAction().doAction(0)
pump(0.3)
print("reading:", [n for n in names() if n in ('読む', '止める')], "board showing:", showing(board))
if byname('止める'):
    press(byname('止める'))
print("while reading and after, heard:", [h for h in heard if 'push button' in h or 'table' in h])
press(byname('広げる'))
print("widened:", [n for n in names() if n in ('広げる', '狭める')], "board showing:", showing(board))
try:
    board.queryTable().getAccessibleAt(0, 8).queryAction().doAction(0)
    pump(0.8)
except Exception as e:
    print("press refused:", e)
print("selection screen opened through the covered board:", showing(table('選ぶ文字')))
press(byname('狭める'))
print("narrowed: board showing:", showing(board))

press(byname('例文表示'))
dump("example list")
heard.clear()
press(byname('一覧の下へ'))
print("after ▽:", describeTable(table('例文一覧'), 0).split('\n')[0].strip())
press(byname('一覧の上へ'))
press(byname('決定'))  # row 0: 日記 → the diary
dump("diary list")
press(byname('日記終了'))
print("back on the board:", names())
print("events heard:", heard[:16])

def walkDialog(title):
    global seen
    unnamed.clear(); seen = 0
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == title:
            walk(w, 0, title)
    print(title, "showing nodes:", seen, "unnamed:", unnamed)
press(byname('設定'))
pump(1)
walkDialog('オプション')
press(byname('操作方法…'))
pump(1)
walkDialog('操作方法')
# Over the open dialogs no call key shows: the main window's would take no press while they
# are open, and they have none of their own (the held switch calls from them).
def callKey(n):
    return (n.name or '') == '呼び出し' and n.getRoleName() == 'push button' and showing(n)
print("call key showing over the options dialogs:", first(app, callKey) is not None)
def inWindow(title, name):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == title:
            return first(w, lambda n: (n.name or '') == name and showing(n))
press(inWindow('操作方法', 'キャンセル'))
press(inWindow('オプション', 'キャンセル'))
# The dialogs closed, the main window's key is named and pressed through its action; a click answers it.
call = first(app, callKey)
print("call key:", call is not None)
if call:
    call.queryAction().doAction(0)
    pump(0.8)
    print("calling shown:", first(app, lambda n: (n.name or '') == '呼んでいます' and showing(n)) is not None)
    import subprocess
    subprocess.run(['xdotool', 'click', '1'], check=False)
    pump(0.8)
    print("answered:", first(app, lambda n: (n.name or '') == '呼んでいます' and showing(n)) is None)
# The text area's scroll bar says what it scrolls.
print("scroll bars:", [n.name for n in [first(app, lambda n: n.getRoleName() == 'scroll bar' and showing(n))] if n])
