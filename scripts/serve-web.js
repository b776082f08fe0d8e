// The built page served as the README serves it (Python's http.server), on a free port of this
// machine only, and the flags every headless Chromium run of it uses: for the browser tests and
// the web benchmarks.
//   const { url, server } = await serveWeb(DIR);   server.kill() stops it
//   serveWeb.main(NAME, DIR, async (url) => ...)   a script's whole run against the page
const { spawn } = require('node:child_process');

async function serveWeb(dir) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '-d', dir],
    { stdio: ['ignore', 'pipe', 'ignore'] });
  const port = await new Promise((resolve, reject) => {
    server.stdout.on('data', (d) => { const m = /port (\d+)/.exec(d); if (m) resolve(m[1]); });
    server.on('exit', () => reject(new Error('the static server stopped')));
  });
  return { url: `http://127.0.0.1:${port}/`, server };
}

// Nothing but the page: no updates, sync or first-run pages beside it.
serveWeb.chromiumFlags = ['--no-sandbox', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--no-first-run'];

// The server stops however the run ends; a failure is one line naming the script.
serveWeb.main = (name, dir, run) => serveWeb(dir)
  .then(({ url, server }) => run(url).finally(() => server.kill()))
  .catch((e) => {
    console.error(`${name}: ${e.message}`);
    process.exit(1);
  });

module.exports = serveWeb;
