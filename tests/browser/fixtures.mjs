// Builds photo folders and runs tessaly-batch on them.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { encodeSjis } from './sjis.mjs';

// The 42 stored settings in file order, with their defaults (ASCII stand-ins where the stored
// default is Japanese text the tests do not look at).
const DEFAULTS = [
  ['startFolder', ''], ['backgroundColor', '8421504'], ['useBackgroundImage', ''],
  ['backgroundFile', ''], ['browserPath', ''], ['viewerPath', ''], ['windowLeft', '0'],
  ['windowTop', '0'], ['rotateQuality', '95'], ['rotateBackup', 'on'], ['titleFontSize', '7'],
  ['titleColor', '0'], ['titleFontFace', 'serif'], ['titleTableWidth', '300'],
  ['titleBackColor', '16777215'], ['titleItalic', 'off'], ['titleBold', 'off'],
  ['thumbWidth', '110'], ['thumbHeight', '150'], ['openInNewWindow', 'off'],
  ['useScriptPopup', 'off'], ['makeSlideShow', 'off'], ['slideInterval', '3'],
  ['thumbQuality', '80'], ['thumbFilter', 'off'], ['noBrowserLaunch', 'on'],
  ['htmlFileName', 'index.htm'], ['thumbFolderName', 'htm_image'], ['titleFontEnabled', 'on'],
  ['headerDefault', 'on'], ['headerText', ''], ['footerDefault', 'on'], ['footerText', ''],
  ['footerLinkEnabled', 'off'], ['footerLinkUrl', ''], ['titleUseTable', 'on'],
  ['thumbPrefix', ''], ['skipExistingThumbs', 'off'], ['tableBorder', '1'],
  ['slideMaxEnabled', 'off'], ['slideMaxWidth', '1000'], ['slideMaxHeight', '750'],
];

export function writeSettings(dir, overrides = {}) {
  fs.mkdirSync(dir, { recursive: true });
  const lines = ['Quorvel Ver1.60'];
  for (const [key, value] of DEFAULTS) {
    lines.push(`[${key}]`, key in overrides ? overrides[key] : value);
  }
  fs.writeFileSync(path.join(dir, 'Quorvel.ini'), encodeSjis(lines.join('\r\n') + '\r\n'));
  return dir;
}

export function makePhotos(tools, folder, specs) {
  fs.mkdirSync(folder, { recursive: true });
  specs.forEach(([name, width, height], i) => {
    execFileSync(tools.photo, [path.join(folder, name), String(width), String(height), String(i)]);
  });
}

export function writeComments(folder, records) {
  const lines = [];
  for (const [name, first, second] of records) lines.push('*'.repeat(29), name, first, second);
  fs.writeFileSync(path.join(folder, 'PicComment.txt'), encodeSjis(lines.map((l) => l + '\r\n').join('')));
}

export function batch(tools, args) {
  try {
    return execFileSync(tools.batch, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (e) {
    throw new Error(`tessaly-batch ${args.join(' ')} failed (${e.status}): ${e.stderr}`);
  }
}
