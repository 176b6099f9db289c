"""The silent part of the demonstration: start-up in a throwaway prefix."""

from winebox import WineBox


def run():
    with WineBox("win7-64") as box:
        program = box.copy_dist("C:\\Dist")
        print("distribution copied to C:\\Dist")
        code = box.run('"%s" s' % program)
        print('"%s" s  ->  exit code %s' % (program, code))
