"""Headless Chromium driven through Selenium, started the one way the page's
tests and benchmark start it: Debian's chromium and chromium-driver, a fresh
profile in a temporary folder, nothing fetched in the background. Fails,
never skips, when either is missing."""
import shutil
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]


class Chromium:
    """`driver` is Selenium's; `flags` are added to FLAGS; with `console` the
    browser's console is kept for driver.get_log("browser")."""

    def __init__(self, *flags, console=False):
        for tool in ("chromium", "chromedriver"):
            if shutil.which(tool) is None:
                raise RuntimeError(f"{tool} is not installed")
        self.profile = tempfile.mkdtemp(prefix="vorlith-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium")
        for flag in FLAGS + list(flags) + [f"--user-data-dir={self.profile}"]:
            options.add_argument(flag)
        if console:
            options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        try:
            self.driver = webdriver.Chrome(
                options=options, service=Service(executable_path=shutil.which("chromedriver")))
        except Exception:
            shutil.rmtree(self.profile, ignore_errors=True)
            raise

    def cdp(self, command, **params):
        """A command of the DevTools protocol, as a screen reader's or a
        phone's view of the page is asked for."""
        return self.driver.execute_cdp_cmd(command, params)

    def quit(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)
