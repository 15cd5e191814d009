#pragma once
// Where renderframe draws: the platform's default framebuffer, made ready at a frame size.
//   frame_target_egl.cpp    headless, at the size asked for
//   frame_target_win32.cpp  the show's own full-screen window, at the desktop's size (the way
//                           the Windows build is checked under wine)

// Creates the GL context and its drawable. `width` and `height` come in as the size asked for
// and go out as the size the frame will have. False when no suitable context can be had.
bool openFrameTarget(int& width, int& height);

// Called once the window is shown: returns when the drawable has settled at its full size.
// A window is placed by the window manager after it is shown, asynchronously; until then,
// pixels outside its old bounds are not its own and read back as garbage.
void settleFrameTarget();
