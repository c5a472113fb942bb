# Drives the running player's find bar as a screen reader would, through AT-SPI: opens it from
# the Edit menu, types the query into the field, then prints what it sees.
import sys
import time

import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi

query, expected_rows = sys.argv[1], int(sys.argv[2])


def find(node, role, name, showing=False):
    if node.get_role_name() == role and node.get_name() == name and (
            not showing or node.get_state_set().contains(Atspi.StateType.SHOWING)):
        return node
    if node.get_role_name() == 'list':
        return None
    for i in range(node.get_child_count()):
        found = find(node.get_child_at_index(i), role, name, showing)
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


desktop = Atspi.get_desktop(0)
player = wait_for(lambda: next((desktop.get_child_at_index(i) for i in range(desktop.get_child_count())
                                if desktop.get_child_at_index(i).get_name() == 'Ostrel Media Player'), None))
Atspi.Action.do_action(find(player, 'menu item', 'Find\u2026'), 0)
field = wait_for(lambda: find(player, 'text', 'Find', showing=True))
print('field:', field.get_name())
Atspi.EditableText.set_text_contents(field, query)
entries = wait_for(lambda: find(player, 'list', ''))
wait_for(lambda: entries.get_child_count() == expected_rows)
for i in range(entries.get_child_count()):
    print('row:', entries.get_child_at_index(i).get_name())
