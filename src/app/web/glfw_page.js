// What the page's GLFW does otherwise than a desktop's, for the game's window. A page may take
// the pointer only when the player clicks, so the disabled cursor means "captured from the next
// click"; motion, buttons and the pointer entering count only while it is captured, and
// losing the capture is losing the focus. Re-centring resets the reported position, so motion
// arrives as offsets from the centre as on the desktop. Keys carry no layout names (the game
// takes their codes), and the page keeps its own title.
mergeInto(LibraryManager.library, {
  $OrbfallPointer__deps: ['$GLFW'],
  $OrbfallPointer: {
    captured: function() {
      return document.pointerLockElement === Module['canvas'];
    },
    capture: function() {
      if (OrbfallPointer.captured()) return;
      // Refused when asked too soon after a release: the next click asks again.
      var request = Module['canvas'].requestPointerLock();
      if (request && request.catch) request.catch(function() {});
    },
    // Losing the capture is as a desktop GLFW losing the focus: the focus callback, then every
    // key and button held released, so no movement or trigger stays on. Regaining it is not
    // told: the game would drop the next motion, against the jump a desktop pointer makes when
    // the focus returns, but a captured pointer reports only its motion and never jumps.
    changed: function() {
      var win = GLFW.active;
      if (!win || OrbfallPointer.captured()) return;
      if (win.windowFocusFunc) {
        {{{ makeDynCall('vii', 'win.windowFocusFunc') }}}(win.id, 0);
      }
      GLFW.onBlur();
      for (var button = 0; button < 8; ++button) {
        if (!(win.buttons & (1 << button))) continue;
        win.buttons &= ~(1 << button);
        if (win.mouseButtonFunc) {
          {{{ makeDynCall('viiii', 'win.mouseButtonFunc') }}}(win.id, button, 0, 0);
        }
      }
    },
  },

  // Before glfwInit, which hands these handlers to the canvas.
  orbfallPageInit__deps: ['$GLFW', '$OrbfallPointer', '$Browser'],
  orbfallPageInit: function() {
    // The capture holds from the moment it is granted, but Emscripten learns of it only from
    // the change event, which Chromium fires with the next animation frame. Moves before it
    // would be read as positions, which a captured pointer keeps still: their motion lost.
    var onlyCaptured = function(handler) {
      return function(event) {
        if (!OrbfallPointer.captured()) return;
        Browser.pointerLock = true;
        handler(event);
      };
    };
    GLFW.onMousemove = onlyCaptured(GLFW.onMousemove);
    GLFW.onMouseButtonDown = onlyCaptured(GLFW.onMouseButtonDown);
    GLFW.onMouseButtonUp = onlyCaptured(GLFW.onMouseButtonUp);
    // The pointer entering the canvas uncaptured is no jump of a captured one, yet the game
    // would drop the motion until its next pass, which here may come after the click that
    // captures it and the first moves.
    GLFW.onMouseenter = onlyCaptured(GLFW.onMouseenter);
    GLFW.onMouseleave = onlyCaptured(GLFW.onMouseleave);
    document.addEventListener('pointerlockchange', OrbfallPointer.changed, false);
  },

  // The browser's own renderer, as WEBGL_debug_renderer_info names it, from a scratch canvas:
  // the game's canvas takes its samples when its context is made and keeps them.
  orbfallPageRenderer: function(vendor, renderer, size) {
    var gl = document.createElement('canvas').getContext('webgl');
    if (!gl) return 0;
    var info = gl.getExtension('WEBGL_debug_renderer_info');
    stringToUTF8(gl.getParameter(info ? info.UNMASKED_VENDOR_WEBGL : gl.VENDOR), vendor, size);
    stringToUTF8(gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER), renderer, size);
    return 1;
  },

  glfwSetInputMode__deps: ['$GLFW', '$OrbfallPointer'],
  glfwSetInputMode: function(winid, mode, value) {
    if (mode == 0x00033001 && value == 0x00034003) {  // GLFW_CURSOR, GLFW_CURSOR_DISABLED
      Module['canvas'].addEventListener('click', OrbfallPointer.capture, false);
      return;
    }
    GLFW.setInputMode(winid, mode, value);
  },

  glfwSetCursorPos__deps: ['$Browser'],
  glfwSetCursorPos: function(winid, x, y) {
    Browser.mouseX = x;
    Browser.mouseY = y;
  },

  glfwGetKeyName: function(key, scancode) {
    return 0;
  },

  glfwSetWindowTitle: function(winid, title) {},
});
