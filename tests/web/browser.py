"""The page in headless Chromium, driven over the DevTools protocol: a static server for the
page's folder on 127.0.0.1, the browser with software WebGL and sound allowed without a gesture,
and the page's console errors, script results and screenshots.

How to use:
    with Site(folder) as site, Browser() as browser:
        page = browser.open(site.url("?at=1200f"))
        page.wait_for("document.title.endsWith('drawn')")
        png = page.screenshot()
        assert not page.errors
"""

import base64
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time
import urllib.request

import websocket

CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--autoplay-policy=no-user-gesture-required", "--no-first-run", "--no-default-browser-check",
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    "--disable-backgrounding-occluded-windows", "--mute-audio",
]


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def read_text(path):
    """The text of the file at `path`, or '' when there is none yet."""
    try:
        with open(path) as f:
            return f.read().strip()
    except OSError:
        return ""


def wait_until(check, what, limit):
    """Polls `check` until it returns something true; fails after `limit` seconds."""
    end = time.monotonic() + limit
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(0.1)


class Site:
    """`folder` served by Python's http.server on 127.0.0.1, quietly."""

    def __init__(self, folder):
        self.folder = folder
        self.port = free_port()
        self.process = None

    def __enter__(self):
        self.process = subprocess.Popen(
            ["/usr/bin/python3", "-m", "http.server", str(self.port), "--bind", "127.0.0.1",
             "--directory", self.folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: self._answers(), "the page's server", 20)
        return self

    def _answers(self):
        try:
            urllib.request.urlopen(self.url(""), timeout=1).close()
            return True
        except OSError:
            return False

    def url(self, query):
        return "http://127.0.0.1:%d/index.html%s" % (self.port, query)

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()


class Page:
    """One tab, through its DevTools web socket."""

    def __init__(self, ws_url):
        self.ws = websocket.create_connection(ws_url, timeout=60, suppress_origin=True)
        self.next_id = 0
        self.errors = []
        for domain in ("Runtime", "Log", "Page"):
            self.call(domain + ".enable")

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise AssertionError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._event(message)

    def _event(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.consoleAPICalled" and params.get("type") == "error":
            self.errors.append(" ".join(str(a.get("value", a.get("description", "")))
                                        for a in params.get("args", [])))
        elif method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            self.errors.append(details.get("exception", {}).get("description", details.get("text")))
        elif method == "Log.entryAdded" and params.get("entry", {}).get("level") == "error":
            self.errors.append(params["entry"].get("text", "") + " " + params["entry"].get("url", ""))

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise AssertionError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, limit=120):
        return wait_until(lambda: self.evaluate(expression), expression, limit)

    def screenshot(self):
        return base64.b64decode(self.call("Page.captureScreenshot", format="png")["data"])

    def navigate(self, url):
        self.call("Page.navigate", url=url)


class Browser:
    """Headless Chromium with a private profile, its window `width` x `height`."""

    def __init__(self, width=1024, height=768):
        self.size = (width, height)
        self.profile = None
        self.process = None
        self.page = None

    def __enter__(self):
        self.profile = tempfile.mkdtemp(prefix="tessary-chromium-")
        self.process = subprocess.Popen(
            ["chromium"] + CHROMIUM_FLAGS + [
                "--user-data-dir=" + self.profile, "--remote-debugging-port=0",
                "--window-size=%d,%d" % self.size, "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        port = int(wait_until(lambda: read_text(port_file), "Chromium's DevTools port",
                              60).split()[0])
        targets = wait_until(lambda: [t for t in self._targets(port) if t["type"] == "page"],
                             "a page in Chromium", 30)
        self.page = Page(targets[0]["webSocketDebuggerUrl"])
        # The window's size is the page's viewport (headless windows keep room for a frame).
        self.page.call("Emulation.setDeviceMetricsOverride", width=self.size[0],
                       height=self.size[1], deviceScaleFactor=1, mobile=False)
        return self

    @staticmethod
    def _targets(port):
        with urllib.request.urlopen("http://127.0.0.1:%d/json" % port, timeout=5) as answer:
            return json.load(answer)

    def open(self, url):
        """Loads `url` in the tab, with its error list emptied; returns once it has loaded."""
        self.page.errors = []
        self.page.navigate(url)
        self.page.wait_for("location.href === %s && document.readyState === 'complete'"
                           % json.dumps(url), 60)
        return self.page

    def __exit__(self, *exc):
        if self.page:
            self.page.ws.close()
        self.process.terminate()
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)
