# What the AT-SPI scripts share: finding the running player and its parts as a screen reader
# does, and waiting for what they show.
import sys
import time

import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi


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


def the_player():
    desktop = Atspi.get_desktop(0)
    return wait_for(lambda: next((desktop.get_child_at_index(i) for i in range(desktop.get_child_count())
                                  if desktop.get_child_at_index(i).get_name() == 'Ostrel Media Player'), None))
