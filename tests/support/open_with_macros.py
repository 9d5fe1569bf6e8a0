#!/usr/bin/python3
"""Opens a workbook in LibreOffice with every document macro allowed, then closes it.

usage: open_with_macros.py PROFILE_FOLDER WORKBOOK

The control for the tests that prove our own loading runs no macro: the same file, opened the
way an ordinary desktop opens it (in a frame, macros executed without a question), does run
them. LibreOffice runs on its own profile in PROFILE_FOLDER and is always ended. Exit status 0
when the workbook was opened.
"""
import os
import signal
import subprocess
import sys
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

ALWAYS_EXECUTE_NO_WARN = 4


def argument(name, value):
    result = PropertyValue()
    result.Name = name
    result.Value = value
    return result


def connect(pipe, server):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + 120
    while True:
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except NoConnectException:
            if server.poll() is not None or time.monotonic() > deadline:
                raise
            time.sleep(0.1)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    profile, workbook = sys.argv[1], os.path.abspath(sys.argv[2])
    pipe = "tessaly-control-%d" % os.getpid()
    server = subprocess.Popen(
        ["soffice", "--headless", "--norestore", "--nologo", "--nodefault",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.abspath(profile)),
         "--accept=pipe,name=%s;urp;" % pipe], start_new_session=True)
    try:
        context = connect(pipe, server)
        desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)
        document = desktop.loadComponentFromURL(
            uno.systemPathToFileUrl(workbook), "_blank", 0,
            (argument("ReadOnly", True),
             argument("MacroExecutionMode", ALWAYS_EXECUTE_NO_WARN)))
        document.close(True)
        try:
            desktop.terminate()
        except Exception:  # the bridge goes down with the server
            pass
        server.wait(timeout=60)
    finally:
        if server.poll() is None:
            os.killpg(server.pid, signal.SIGKILL)
            server.wait()


if __name__ == "__main__":
    main()
