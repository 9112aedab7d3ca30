// The crawler bodies straight through WebGL in the browser edition.
//
// The emulation of the fixed-function GL (emscripten's library_glemu.js, built without its unsafe
// shortcuts) leaves WebGL in one known state between its draws: its own program unbound (useProgram
// null unless the game bound one of its own, which it never does), ARRAY_BUFFER bound to the buffer the
// game bound (none) and the vertex attribute arrays disabled but those the game enabled itself (none);
// before each draw it binds its program and buffer and sets every attribute pointer again. So this
// drawing may use a program, a buffer and two attribute arrays of its own as long as it puts back the
// program, the buffer and the arrays' enabled state the emulation records (GL.currProgram,
// GLctx.currentArrayBufferBinding, GLEmulation.enabledVertexAttribArrays). Everything else it leaves
// alone: blending, culling, the viewport and the depth test are the GL's, as for the emulation's draws.
//
// The shaders are the emulation's own for an untextured, unlit, fog-free draw with a colour per corner
// (the model-view and projection matrices applied in the same order), so the pixels are the same.
#include "game/crawler_webgl.h"

#ifdef __EMSCRIPTEN__

#include <emscripten.h>

// clang-format off
EM_JS(int, tavok_draw_crawler_corners_webgl, (const float* corners, int count), {
    var gl = GLctx;
    var own = Module.tavokCrawlerWebgl;
    if (!own) {
        own = Module.tavokCrawlerWebgl = { program: null, buffer: null, capacity: 0 };
        var compile = function(type, source) {
            var shader = gl.createShader(type);
            gl.shaderSource(shader, source);
            gl.compileShader(shader);
            return shader;
        };
        var program = gl.createProgram();
        gl.attachShader(program, compile(gl.VERTEX_SHADER,
            'attribute vec4 a_position;\n' +
            'attribute vec4 a_color;\n' +
            'varying vec4 v_color;\n' +
            'uniform mat4 u_modelView;\n' +
            'uniform mat4 u_projection;\n' +
            'void main()\n' +
            '{\n' +
            '  vec4 ecPosition = u_modelView * a_position;\n' +
            '  gl_Position = u_projection * ecPosition;\n' +
            '  v_color = a_color;\n' +
            '}\n'));
        gl.attachShader(program, compile(gl.FRAGMENT_SHADER,
            'precision mediump float;\n' +
            'varying vec4 v_color;\n' +
            'void main()\n' +
            '{\n' +
            '  gl_FragColor = v_color;\n' +
            '}\n'));
        gl.bindAttribLocation(program, 0, 'a_position');
        gl.bindAttribLocation(program, 1, 'a_color');
        gl.linkProgram(program);
        if (!gl.getProgramParameter(program, gl.LINK_STATUS)) {
            own.failed = true;
            return 0;
        }
        own.program = program;
        own.modelView = gl.getUniformLocation(program, 'u_modelView');
        own.projection = gl.getUniformLocation(program, 'u_projection');
        own.buffer = gl.createBuffer();
    }
    // The test page compares this drawing with the emulation's by switching it off.
    if (own.failed || Module.tavokCrawlersThroughEmulation) {
        return 0;
    }
    var bytes = count * 24;
    gl.useProgram(own.program);
    gl.uniformMatrix4fv(own.modelView, false, GLImmediate.matrix[0]);
    gl.uniformMatrix4fv(own.projection, false, GLImmediate.matrix[1]);
    gl.bindBuffer(gl.ARRAY_BUFFER, own.buffer);
    if (bytes > own.capacity) {
        // Grown by half again, so a swarm growing to its cap reallocates only a few times.
        own.capacity = Math.max(bytes, Math.floor(own.capacity * 1.5));
        gl.bufferData(gl.ARRAY_BUFFER, own.capacity, gl.STREAM_DRAW);
    }
    gl.enableVertexAttribArray(0);
    gl.enableVertexAttribArray(1);
    gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 24, 0);
    gl.vertexAttribPointer(1, 3, gl.FLOAT, true, 24, 12);
    // In four parts, each drawn as soon as it is uploaded: the GPU process's renderer then draws one part
    // while the next is still being copied to it.
    var part = Math.ceil(count / 12) * 3;
    for (var first = 0; first < count; first += part) {
        var n = Math.min(part, count - first);
        gl.bufferSubData(gl.ARRAY_BUFFER, first * 24, HEAPU8.subarray(corners + first * 24, corners + (first + n) * 24));
        gl.drawArrays(gl.TRIANGLES, first, n);
    }
    // Back to what the emulation believes is bound.
    for (var index = 0; index < 2; ++index) {
        if (!GLEmulation.enabledVertexAttribArrays[index]) {
            gl.disableVertexAttribArray(index);
        }
    }
    var arrayBuffer = GLctx.currentArrayBufferBinding;
    gl.bindBuffer(gl.ARRAY_BUFFER, arrayBuffer ? GL.buffers[arrayBuffer] : null);
    gl.useProgram(GL.currProgram ? GL.programs[GL.currProgram] : null);
    return 1;
});
// clang-format on

bool drawCrawlerCornersWebgl(const float* corners, size_t count) {
    return tavok_draw_crawler_corners_webgl(corners, static_cast<int>(count)) != 0;
}

#endif
