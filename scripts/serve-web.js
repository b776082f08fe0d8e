// The built page served as the README serves it (Python's http.server), on a free port of this
// machine only, for the browser tests and the web benchmarks.
//   const { url, server } = await require('scripts/serve-web.js')(DIR);   server.kill() stops it
const { spawn } = require('node:child_process');

module.exports = async function serveWeb(dir) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '-d', dir],
    { stdio: ['ignore', 'pipe', 'ignore'] });
  const port = await new Promise((resolve, reject) => {
    server.stdout.on('data', (d) => { const m = /port (\d+)/.exec(d); if (m) resolve(m[1]); });
    server.on('exit', () => reject(new Error('the static server stopped')));
  });
  return { url: `http://127.0.0.1:${port}/`, server };
};
