# Drives the running player's find bar as a screen reader would, through AT-SPI: opens it from
# the Edit menu, types the query into the field, then prints what it sees.
import sys

from atspi_player import Atspi, find, the_player, wait_for

query, expected_rows = sys.argv[1], int(sys.argv[2])
player = the_player()
Atspi.Action.do_action(find(player, 'menu item', 'Find\u2026'), 0)
field = wait_for(lambda: find(player, 'text', 'Find', showing=True))
print('field:', field.get_name())
Atspi.EditableText.set_text_contents(field, query)
entries = wait_for(lambda: find(player, 'list', ''))
wait_for(lambda: entries.get_child_count() == expected_rows)
for i in range(entries.get_child_count()):
    print('row:', entries.get_child_at_index(i).get_name())
