"""The program as a screen reader sees it on the AT-SPI bus: finds controls by name and role, presses them
through their actions, and tells which control has the keyboard focus.

usage: atspi.py press <name> <role>       press the control, e.g. press 设置 "push button"
       atspi.py focus                     print the focused control as "<role>|<name>"
       atspi.py shows <name> <role>       exit 0 when a showing control of that name and role is there
       atspi.py text <name> <role>        print the text that a showing control of that name and role holds
       atspi.py begins <prefix> <role>    exit 0 when a showing control of that role has a name that begins so
"""
import sys

import pyatspi


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name.startswith("orvane"):
            return app
    sys.exit("the program is not on the AT-SPI bus")


def find(predicate):
    return pyatspi.findDescendant(program(), lambda node: node is not None and predicate(node))


def showing(role, name_matches):
    def matches(node):
        return (name_matches(node.name) and node.getRoleName() == role
                and node.getState().contains(pyatspi.STATE_SHOWING))
    return matches


def named(name, role):
    return showing(role, lambda found: found == name)


def main(argv):
    command = argv[1]
    if command == "press":
        control = find(named(argv[2], argv[3]))
        if control is None:
            sys.exit(f"no {argv[3]} named {argv[2]}")
        action = control.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press") if "Press" in names else 0)
    elif command == "focus":
        control = find(lambda node: node.getState().contains(pyatspi.STATE_FOCUSED))
        print("" if control is None else f"{control.getRoleName()}|{control.name}")
    elif command == "shows":
        sys.exit(0 if find(named(argv[2], argv[3])) is not None else 1)
    elif command == "begins":
        sys.exit(0 if find(showing(argv[3], lambda found: found.startswith(argv[2]))) is not None else 1)
    elif command == "text":
        control = find(named(argv[2], argv[3]))
        if control is None:
            sys.exit(f"no {argv[3]} named {argv[2]}")
        print(control.queryText().getText(0, -1))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
