# Arranges the running player's list as a user of a screen reader would, through AT-SPI: each
# command from the Edit and Options menus, then the rows as they are read out.
import sys
import time

import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi


def find(node, role, name):
    if node.get_role_name() == role and node.get_name() == name:
        return node
    if node.get_role_name() == 'list':
        return None
    for i in range(node.get_child_count()):
        found = find(node.get_child_at_index(i), role, name)
        if found:
            return found
    return None


def wait_for(what, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        found = what()
        if found:
            return found
        time.sleep(0.1)
    sys.exit('gave up waiting')


def the_list():
    # Found again at each look: a list whose rows are replaced wholesale is a new object.
    return find(player, 'list', '')


def rows(entries=None):
    entries = entries or the_list()
    shown = []
    for i in range(entries.get_child_count()):
        row = entries.get_child_at_index(i)
        checked = row.get_state_set().contains(Atspi.StateType.CHECKED)
        shown.append(('[x] ' if checked else '[ ] ') + row.get_name())
    return shown


def say(step):
    print(step + ': ' + ' | '.join(rows()))


def choose(player, name):
    Atspi.Action.do_action(wait_for(lambda: find(player, 'menu item', name)), 0)


desktop = Atspi.get_desktop(0)
player = wait_for(lambda: next((desktop.get_child_at_index(i) for i in range(desktop.get_child_count())
                                if desktop.get_child_at_index(i).get_name() == 'Ostrel Media Player'), None))
wait_for(lambda: the_list() and the_list().get_child_count() == 3)
say('loaded')

choose(player, 'Title')
wait_for(lambda: rows()[0].endswith('1 - First.wav'))
say('sorted')

Atspi.Table.add_row_selection(the_list(), 2)
choose(player, 'Queue')
wait_for(lambda: '[1]' in rows()[2])
say('queued')

choose(player, 'Remove All')
wait_for(lambda: the_list().get_child_count() == 0)
say('removed')
choose(player, 'Undo')
wait_for(lambda: the_list().get_child_count() == 3)
say('undone')

Atspi.Table.add_row_selection(the_list(), 1)
choose(player, 'Stop After Current')
Atspi.Action.do_action(find(player, 'push button', 'Play'), 0)
