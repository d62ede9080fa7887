// The shipped pages run in the old engine, which knows ECMAScript 5 only: every inline script,
// linked script, event handler attribute and javascript: address must parse as ES5.
const fs = require('fs');
const path = require('path');
const acorn = require('acorn');

function pages(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((d) => {
    const file = path.join(dir, d.name);
    return d.isDirectory() ? pages(file) : /\.html?$/i.test(d.name) ? [file] : [];
  });
}

function scripts(file) {
  const html = fs.readFileSync(file, 'latin1');
  const found = [];
  const outside = html.replace(/<script\b([^>]*)>([\s\S]*?)<\/script\s*>/gi, (all, attrs, body) => {
    const src = /\ssrc\s*=\s*["']?([^"'\s>]+)/i.exec(attrs);
    if (src) found.push({ where: src[1], code: fs.readFileSync(path.resolve(path.dirname(file), src[1]), 'latin1') });
    else found.push({ where: 'inline script', code: body.replace(/^\s*<!--|-->\s*$/g, '') });
    return '';
  }).replace(/<!--[\s\S]*?-->/g, '');
  const attr = /\s(on[a-z]+|href)\s*=\s*(?:"([^"]*)"|'([^']*)')/gi;
  for (let m; (m = attr.exec(outside));) {
    const value = (m[2] !== undefined ? m[2] : m[3])
      .replace(/&quot;/g, '"').replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&amp;/g, '&');
    if (/^on/i.test(m[1])) found.push({ where: m[1], code: value, handler: true });
    else if (/^javascript:/i.test(value)) found.push({ where: 'href', code: value.slice(11) });
  }
  return found;
}

// Problems as "file: where: message"; none when every script parses.
module.exports = function es5Problems(dataDir) {
  return pages(dataDir).flatMap((file) => scripts(file).flatMap(({ where, code, handler }) => {
    try {
      acorn.parse(code, { ecmaVersion: 5, allowReturnOutsideFunction: handler });
      return [];
    } catch (e) {
      return [`${path.relative(dataDir, file)}: ${where}: ${e.message}`];
    }
  }));
};
