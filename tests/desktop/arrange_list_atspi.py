# Arranges the running player's list as a user of a screen reader would, through AT-SPI: each
# command from the Edit and Options menus, then the rows as they are read out.
from atspi_player import Atspi, find, the_player, wait_for


def the_list():
    # Found again at each look: a list whose rows are replaced wholesale is a new object.
    return find(player, 'list', '')


def rows():
    entries = the_list()
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


player = the_player()
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
