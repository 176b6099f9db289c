"""What setup installs, by the names an administrator sees: the application, its service, the
registry keys it writes to, and the exit code of a failed run."""

APP_NAME = "Korvane HW RAID Manager"
APP_FILE = "DIVodeZivar.exe"
SERVICE = "KorvaneRaidMonitor"
CURRENT_VERSION = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
SERVICES = "HKLM\\System\\CurrentControlSet\\Services\\"
PERSISTED = ("HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\"
             "Compatibility Assistant\\Persisted")
FAILURE = 1603
