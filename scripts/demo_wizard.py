"""The wizard part of the demonstration (screenshots of each state)."""


def run():
    pass
