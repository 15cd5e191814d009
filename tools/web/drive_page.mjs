// Drives the web build in headless chromium over the DevTools protocol (through a pipe, so no
// WebSocket client is needed) and writes what it finds. Used by tools/test.sh.
//
//   node drive_page.mjs moments BASE_URL OUT_DIR SIZE T...
//       draws each moment T through "?t=T&size=SIZE" and writes OUT_DIR/web-T.png; prints
//       the seconds each moment took to draw
//   node drive_page.mjs audio BASE_URL OUT_JSON
//       writes the page's audio buffer as its rate, frame count and the RMS of each channel
//       over blocks of 4096 frames
//   node drive_page.mjs play BASE_URL SECONDS [WxH]
//       (with WxH the page is given a screen of that size) waits for "click to start", clicks, lets the show play SECONDS, presses Escape, and
//       checks that the audio clock advanced, frames were drawn and the start screen is back;
//       prints the frames a second
//   node drive_page.mjs refused BASE_URL TEXT
//       expects the page to fail to start and to say TEXT (run with CHROMIUM_FLAGS that take
//       something away, such as --disable-webgl2)
//
// Any failure (a page that reports an error, a moment that is not "ready" in time) is printed
// with the page's messages and ends with status 1.
import { spawn } from 'node:child_process';
import { writeFileSync } from 'node:fs';

const [mode, baseUrl, ...rest] = process.argv.slice(2);
const chromium = process.env.CHROMIUM || 'chromium';
const browser = spawn(chromium, [
    '--headless=new', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--no-sandbox', '--remote-debugging-pipe', '--no-first-run', '--mute-audio',
    '--window-size=960,540', ...(process.env.CHROMIUM_FLAGS || '').split(' ').filter(Boolean), 'about:blank'], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
let browserLog = '';
browser.stderr.on('data', data => { browserLog += data; });

let nextId = 1;
const waiting = new Map();
const pageMessages = [];
let received = Buffer.alloc(0);
browser.stdio[4].on('data', data => {
    received = Buffer.concat([received, data]);
    for (let end; (end = received.indexOf(0)) >= 0; received = received.subarray(end + 1)) {
        const message = JSON.parse(received.subarray(0, end).toString());
        if (message.id && waiting.has(message.id)) {
            const { resolve, reject } = waiting.get(message.id);
            waiting.delete(message.id);
            if (message.error)
                reject(new Error(JSON.stringify(message.error)));
            else
                resolve(message.result);
        } else if (message.method === 'Runtime.consoleAPICalled') {
            pageMessages.push(message.params.args.map(a => a.value ?? a.description).join(' '));
        } else if (message.method === 'Runtime.exceptionThrown') {
            pageMessages.push('exception: ' + message.params.exceptionDetails.exception?.description);
        }
    }
});

function send(method, params = {}, sessionId = undefined) {
    const id = nextId++;
    browser.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
    return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
}

function fail(why) {
    console.error(`drive_page: ${why}`);
    if (pageMessages.length)
        console.error('the page said:\n  ' + pageMessages.join('\n  '));
    browser.kill();
    process.exit(1);
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

let session;
async function evaluate(expression) {
    const result = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true }, session);
    if (result.exceptionDetails)
        fail(`${expression}: ${result.exceptionDetails.exception?.description}`);
    return result.result.value;
}

// Waits until `expression` is true in the page; fails after `seconds`.
async function until(expression, seconds, what) {
    const giveUp = Date.now() + seconds * 1000;
    for (;;) {
        const title = await evaluate('document.title');
        if (title === 'failed' || title === 'bad address')
            fail(`the page's title is "${title}" while waiting for ${what}`);
        if (await evaluate(expression))
            return;
        if (Date.now() > giveUp)
            fail(`no ${what} after ${seconds} s`);
        await sleep(100);
    }
}

// Asked right after the navigation, the tab may still hold the blank page or a document without
// the prompt yet: not shown, rather than a failed evaluation.
const startScreenShown = `document.getElementById('prompt')?.textContent === 'click to start'`;

async function open(url, screen = null) {
    const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
    ({ sessionId: session } = await send('Target.attachToTarget', { targetId, flatten: true }));
    if (screen) {
        const [width, height] = screen.split('x').map(Number);
        await send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false,
                                                           screenWidth: width, screenHeight: height }, session);
    }
    await send('Runtime.enable', {}, session);
    await send('Page.enable', {}, session);
    await send('Page.navigate', { url }, session);
    return targetId;
}

async function moments(outDir, size, times) {
    for (const t of times) {
        const started = Date.now();
        const target = await open(`${baseUrl}?t=${t}&size=${size}`);
        await until(`document.title === 'ready'`, 300, `moment ${t} drawn`);
        const seconds = (Date.now() - started) / 1000;
        const png = await evaluate(`document.getElementById('canvas').toDataURL('image/png')`);
        writeFileSync(`${outDir}/web-${t}.png`, Buffer.from(png.split(',')[1], 'base64'));
        console.log(`moment ${t}: loaded and drawn in ${seconds.toFixed(2)} s`);
        await send('Target.closeTarget', { targetId: target });
    }
}

async function audio(outJson) {
    await open(baseUrl);
    await until(startScreenShown, 120, 'start screen');
    const summary = await evaluate(`(() => {
        const buffer = Module.showAudio.buffer;
        const block = 4096, rms = [[], []];
        for (let c = 0; c < 2; ++c) {
            const data = buffer.getChannelData(c);
            for (let start = 0; start < data.length; start += block) {
                let sum = 0;
                const end = Math.min(start + block, data.length);
                for (let i = start; i < end; ++i)
                    sum += data[i] * data[i];
                rms[c].push(Math.sqrt(sum / (end - start)));
            }
        }
        return { rate: buffer.sampleRate, frames: buffer.length, block, rms };
    })()`);
    writeFileSync(outJson, JSON.stringify(summary));
    console.log(`audio buffer: ${summary.frames} frames at ${summary.rate} Hz`);
}

async function play(seconds, screen) {
    await open(baseUrl, screen);
    await until(startScreenShown, 120, 'start screen');
    const [x, y] = await evaluate('[innerWidth / 2, innerHeight / 2]');
    for (const type of ['mousePressed', 'mouseReleased'])
        await send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 }, session);
    await until(`!document.getElementById('stage').classList.contains('hidden')`, 10, 'show after the click');
    const audioAt = `(() => { const a = Module.showAudio; return a && a.source ? a.context.currentTime - a.startTime : -1; })()`;
    const startFrames = await evaluate('Module.showFrames || 0');
    const startAudio = await evaluate(audioAt);
    const startTime = Date.now();
    await sleep(seconds * 1000);
    const frames = (await evaluate('Module.showFrames || 0')) - startFrames;
    const audioSeconds = (await evaluate(audioAt)) - startAudio;
    const wall = (Date.now() - startTime) / 1000;
    const size = await evaluate(`Module.canvas.width + 'x' + Module.canvas.height`);
    console.log(`played ${wall.toFixed(1)} s at ${size}: ${frames} frames (${(frames / wall).toFixed(2)} a second), ` +
                `audio clock advanced ${audioSeconds.toFixed(2)} s`);
    if (!(audioSeconds > 0.5 * wall))
        fail(`the audio clock advanced ${audioSeconds} s in ${wall} s of playback`);
    if (frames < 2)
        fail(`only ${frames} frames were drawn in ${wall} s`);
    for (const type of ['rawKeyDown', 'keyUp'])
        await send('Input.dispatchKeyEvent', { type, key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 }, session);
    await until(`!document.getElementById('start').classList.contains('hidden') && !Module.showAudio.source`,
                30, 'start screen after Escape');
    console.log('Escape brought the start screen back and stopped the music');
}

async function refused(text) {
    await open(baseUrl);
    const giveUp = Date.now() + 60 * 1000;
    while ((await evaluate('document.title')) !== 'failed') {
        if (Date.now() > giveUp)
            fail('the page did not fail to start');
        await sleep(100);
    }
    const said = await evaluate(`document.getElementById('message').textContent`);
    if (!said.includes(text))
        fail(`the page failed saying "${said.trim()}", not "${text}"`);
    console.log(`the page refused to start, saying: ${said.trim()}`);
}

const watchdog = setTimeout(() => fail('timed out'), 15 * 60 * 1000);
try {
    if (mode === 'moments')
        await moments(rest[0], rest[1], rest.slice(2));
    else if (mode === 'audio')
        await audio(rest[0]);
    else if (mode === 'play')
        await play(Number(rest[0] || 4), rest[1]);
    else if (mode === 'refused')
        await refused(rest.join(' '));
    else
        fail(`no mode ${mode} (moments, audio, play or refused)`);
} catch (error) {
    fail(error.message + (browserLog ? `\nchromium said: ${browserLog.slice(-2000)}` : ''));
}
clearTimeout(watchdog);
browser.kill();
