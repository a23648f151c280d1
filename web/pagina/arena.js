// The arena as the desktop program draws it: the same 19 x 19 item pictures
// and 640 x 480 backgrounds, drawn pixel by pixel by the same rules, then
// scaled to the window. It only draws what the worker's frame says.
'use strict';

const Arena = (() => {
  const lado = 19, largura = 640, altura = 480;
  const campo = [153, 204, 255];
  const contorno = [25, 25, 25];
  const coresAlelos = [[40, 170, 50], [220, 35, 35], [35, 80, 230]];

  // QColor::lighter(160): value times 1.6, the excess taken from the saturation.
  function maisClara([r, g, b], fator = 160) {
    const max = Math.max(r, g, b), min = Math.min(r, g, b);
    let h = 0;
    const d = max - min;
    if (d) {
      if (max === r) h = ((g - b) / d) % 6;
      else if (max === g) h = (b - r) / d + 2;
      else h = (r - g) / d + 4;
      h *= 60;
      if (h < 0) h += 360;
    }
    let s = max ? d / max * 255 : 0;
    let v = max * fator / 100;
    if (v > 255) { s -= v - 255; if (s < 0) s = 0; v = 255; }
    const c = v * s / 255, x = c * (1 - Math.abs((h / 60) % 2 - 1)), m = v - c;
    const [r1, g1, b1] = h < 60 ? [c, x, 0] : h < 120 ? [x, c, 0] : h < 180 ? [0, c, x]
      : h < 240 ? [0, x, c] : h < 300 ? [x, 0, c] : [c, 0, x];
    return [Math.round(r1 + m), Math.round(g1 + m), Math.round(b1 + m)];
  }

  function novaImagem() { return new ImageData(lado, lado); }
  function pixel(img, i, j, [r, g, b]) {
    const k = 4 * (j * lado + i);
    img.data[k] = r; img.data[k + 1] = g; img.data[k + 2] = b; img.data[k + 3] = 255;
  }
  function cor(img, i, j) {
    const k = 4 * (j * lado + i);
    return [img.data[k], img.data[k + 1], img.data[k + 2], img.data[k + 3]];
  }
  function retangulo(img, x0, y0, x1, y1, c) {
    for (let j = y0; j <= y1; ++j) for (let i = x0; i <= x1; ++i) pixel(img, i, j, c);
  }
  function distancia(i, j, cx, cy, rx = 1, ry = 1) {
    const dx = (i + 0.5 - cx) / rx, dy = (j + 0.5 - cy) / ry;
    return Math.sqrt(dx * dx + dy * dy);
  }
  function disco(img, cx, cy, rx, ry, preenchimento, borda) {
    const brilho = maisClara(preenchimento);
    for (let j = 0; j < lado; ++j) for (let i = 0; i < lado; ++i) {
      const d = distancia(i, j, cx, cy, rx, ry);
      if (d > 1) continue;
      const limite = 1 - 1 / Math.min(rx, ry);
      let c = d > limite ? borda : preenchimento;
      if (d <= limite && distancia(i, j, cx - rx * 0.35, cy - ry * 0.35) < 1.6) c = brilho;
      pixel(img, i, j, c);
    }
  }
  function macho(m) {
    const img = novaImagem();
    for (let k = 0; k < 6; ++k) { pixel(img, 11 + k, 7 - k, contorno); pixel(img, 12 + k, 7 - k, contorno); }
    retangulo(img, 12, 1, 17, 2, contorno);
    retangulo(img, 16, 1, 17, 6, contorno);
    disco(img, 8, 11, 6.6, 6.6, coresAlelos[m], contorno);
    return img;
  }
  function femea(m) {
    const img = novaImagem();
    retangulo(img, 9, 12, 10, 18, contorno);
    retangulo(img, 6, 15, 13, 16, contorno);
    disco(img, 10, 7, 6.6, 6.6, coresAlelos[m], contorno);
    return img;
  }
  function comida() {
    const img = novaImagem();
    const verde = [20, 100, 20], amarelo = [255, 225, 0];
    disco(img, 9.5, 9.5, 7.2, 7.2, verde, [0, 55, 0]);
    const brilho = maisClara(verde);
    for (let j = 0; j < lado; ++j) for (let i = 0; i < lado; ++i) {
      const c = cor(img, i, j);
      if (c[3] && c[0] === brilho[0] && c[1] === brilho[1] && c[2] === brilho[2]) pixel(img, i, j, verde);
    }
    retangulo(img, 8, 8, 10, 10, amarelo);
    for (const [i, j] of [[9, 7], [7, 9], [11, 9], [9, 11], [5, 5], [6, 5], [5, 6], [13, 5], [12, 5], [13, 6],
      [5, 13], [5, 12], [6, 13], [13, 13], [12, 13], [13, 12]]) pixel(img, i, j, amarelo);
    return img;
  }
  function ovo() {
    const img = novaImagem();
    disco(img, 9.5, 9.5, 5.8, 8.2, [128, 128, 0], [70, 70, 0]);
    for (const [i, j] of [[10, 6], [11, 6], [7, 9], [8, 9], [11, 11], [12, 11], [11, 12], [8, 13], [9, 14]])
      pixel(img, i, j, [240, 220, 50]);
    return img;
  }
  // Image indices as the document hands them out: males Mm, MM, mm; females
  // Mm, MM, mm; food; egg.
  function imagens() {
    return [macho(1), macho(0), macho(2), femea(1), femea(0), femea(2), comida(), ovo()].map((img) => {
      const c = document.createElement('canvas');
      c.width = c.height = lado;
      c.getContext('2d').putImageData(img, 0, 0);
      return c;
    });
  }

  function obstaculo(g, [left, top, right, bottom]) {
    const w = right - left, h = bottom - top;
    const grande = Math.min(w, h) >= 40;
    const css = (c) => `rgb(${c[0]},${c[1]},${c[2]})`;
    const borda = css(grande ? [0, 90, 30] : [0, 110, 130]);
    const fundo = css(grande ? [40, 150, 60] : [0, 190, 200]);
    const luz = css(grande ? [130, 210, 120] : [150, 245, 245]);
    const sombra = css(grande ? [20, 115, 40] : [0, 150, 170]);
    const r = (x, y, a, b, c) => { if (a > 0 && b > 0) { g.fillStyle = c; g.fillRect(x, y, a, b); } };
    r(left, top, w, h, borda);
    r(left + 1, top + 1, w - 2, h - 2, sombra);
    r(left + 1, top + 1, w - 3, h - 3, luz);
    r(left + 2, top + 2, w - 4, h - 4, fundo);
    for (let y = top + 5; y < bottom - 4; y += 6) {
      const desvio = Math.floor((y - top) / 6) % 2 ? 3 : 0;
      for (let x = left + 4 + desvio; x < right - 5; x += 7) {
        if (grande) { r(x, y, 2, 2, sombra); r(x + 1, y - 1, 1, 1, luz); } else r(x, y, 3, 1, luz);
      }
    }
  }

  // The two kinds of obstacle for the legend: a hedge (40 pixels or more
  // across) and a pool, each drawn as the background draws it.
  function amostrasObstaculo() {
    return [40, 30].map((tamanho) => {
      const c = document.createElement('canvas');
      c.width = c.height = tamanho;
      obstaculo(c.getContext('2d'), [0, 0, tamanho, tamanho]);
      return c;
    });
  }

  function fundo(obstaculos) {
    const c = document.createElement('canvas');
    c.width = largura; c.height = altura;
    const g = c.getContext('2d');
    g.fillStyle = `rgb(${campo.join(',')})`;
    g.fillRect(0, 0, largura, altura);
    for (const r of obstaculos) obstaculo(g, r);
    return c;
  }

  // A picture as the offsets (in a 640-pixel row) and colours of its opaque
  // pixels: the pictures have no partly transparent pixel, so copying these
  // is what drawImage would paint.
  function mascara(img) {
    const cores = new Uint32Array(img.data.buffer);
    const dx = [], dy = [], valores = [];
    for (let j = 0; j < lado; ++j) for (let i = 0; i < lado; ++i) {
      if (img.data[4 * (j * lado + i) + 3]) { dx.push(i); dy.push(j); valores.push(cores[j * lado + i]); }
    }
    return {
      dx: Int32Array.from(dx), dy: Int32Array.from(dy), cores: Uint32Array.from(valores),
      deslocamentos: Int32Array.from(dx.map((x, k) => dy[k] * largura + x)),
    };
  }

  // Floats per item of a frame (web/MundoWeb.h).
  const itemDoQuadro = 5;
  const fonteEnergia = '12px "DejaVu Sans", sans-serif';

  // Arena units (0..99) to pixels, in single precision and truncated, as the desktop view.
  const f = Math.fround;
  function paraPixel(tamanho, u) { return Math.trunc(f(f(tamanho * u) / 99)); }

  // The frame is composed in memory (background, then each item's pixels)
  // and put on the canvas once: thousands of drawImage calls are far slower
  // without a GPU.
  class Desenho {
    constructor(canvas) {
      this.canvas = canvas;
      canvas.width = largura; canvas.height = altura;
      this.g = canvas.getContext('2d');
      this.mascaras = [macho(1), macho(0), macho(2), femea(1), femea(0), femea(2), comida(), ovo()].map(mascara);
      this.quadro = new ImageData(largura, altura);
      this.pixels = new Uint32Array(this.quadro.data.buffer);
      this.imagens = imagens();
      this.fundo = null;
      this.fundoCanvas = null;
      this.chaveFundo = null;
    }
    definirObstaculos(json) {
      if (json === this.chaveFundo) return;
      this.chaveFundo = json;
      this.fundoCanvas = fundo(JSON.parse(json));
      this.fundo = new Uint32Array(this.fundoCanvas.getContext('2d').getImageData(0, 0, largura, altura).data.buffer);
    }
    // dados: x, y, image, energy, label colour per item (food first, then
    // the living); with the energy shown, each item's number as the desktop
    // writes it.
    desenhar(dados, comEnergia = false) {
      if (comEnergia) return this.desenharComEnergia(dados);
      const p = this.pixels;
      if (this.fundo) p.set(this.fundo);
      for (let k = 0; k + itemDoQuadro - 1 < dados.length; k += itemDoQuadro) {
        const m = this.mascaras[dados[k + 2]];
        if (!m) continue;
        const x0 = paraPixel(largura, dados[k]) - 10, y0 = paraPixel(altura, dados[k + 1]) - 10;
        const { deslocamentos, cores } = m;
        if (x0 >= 0 && y0 >= 0 && x0 + lado <= largura && y0 + lado <= altura) {
          const base = y0 * largura + x0;
          for (let i = 0; i < cores.length; ++i) p[base + deslocamentos[i]] = cores[i];
        } else {
          for (let i = 0; i < cores.length; ++i) {
            const x = x0 + m.dx[i], y = y0 + m.dy[i];
            if (x >= 0 && y >= 0 && x < largura && y < altura) p[y * largura + x] = cores[i];
          }
        }
      }
      this.g.putImageData(this.quadro, 0, 0);
    }
    // Text between the pictures: drawn item by item. Food's number goes over
    // its picture; an individual's picture covers its own number.
    desenharComEnergia(dados) {
      const g = this.g;
      if (this.fundoCanvas) g.drawImage(this.fundoCanvas, 0, 0);
      g.font = fonteEnergia;
      g.textBaseline = 'top';
      for (let k = 0; k + itemDoQuadro - 1 < dados.length; k += itemDoQuadro) {
        const img = this.imagens[dados[k + 2]];
        const x = paraPixel(largura, dados[k]), y = paraPixel(altura, dados[k + 1]);
        const rotulo = () => {
          g.fillStyle = dados[k + 4] ? 'rgb(0,255,255)' : 'rgb(0,0,0)';
          g.fillText(String(dados[k + 3]), x - 14, paraPixel(altura, f(dados[k + 1] + 1)));
        };
        const comida = dados[k + 2] === 6;
        if (!comida) rotulo();
        if (img) g.drawImage(img, x - 10, y - 10);
        if (comida) rotulo();
      }
    }
  }
  return { Desenho, imagens, amostrasObstaculo, fundo, paraPixel };
})();
