#pragma once
// The error check of the GL-checking build (SHOW_GL_CHECK): after every GL call made through
// core/gl_api.h, the error the driver recorded is read back, and any error ends the process
// with the call's name, so a test that provokes one fails at the call that did it. Shipping
// builds never include this and never ask the driver for errors (a glGetError can stall the
// driver's pipeline).

// The GL name of an error code ("GL_INVALID_ENUM"); "an unknown GL error" for any other value.
const char* glErrorName(unsigned int error);

// Reads glGetError once; on an error, prints "GL error <name> (0x....) after <call>" to
// standard error and aborts.
void abortOnGLError(const char* call);
