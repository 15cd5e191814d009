#pragma once
// Code that several stages share lives once, in files of its own under the shader folder
// (shaders/common/), and a stage takes it in with a line of its own:
//     #include "common/octahedral.glsl"
// The path is relative to the shader folder, whichever file the line is in. GLSL has no such
// directive, so the file is expanded before the driver sees it: the desktop builds, the web's
// rewrite and the player's reload all read the expanded text.
//
// Each file is taken in once per stage; a second include of it, from anywhere, adds nothing, so
// a shared file may include what it needs without the stage knowing. An include that would
// reopen a file still being expanded (a cycle) is an error, as is one whose file cannot be read.
//
// The driver numbers lines per source string: the stage is string 0 and each included file the
// next number in `files`, with "#line" lines around an included text, so a compile log's
// "1:12" points at line 12 of files[1]. A stage without includes comes back unchanged.
#include <string>
#include <vector>

struct ExpandedGlsl {
    std::string text;                // the stage with every include replaced by its file's text
    std::vector<std::string> files;  // paths by source-string number, the stage itself first
    std::string error;               // empty on success, else "<file>:<line>: <why>", one line
};

// `source` is the text of the stage read from `stagePath` (a path under `folder`, such as
// "shaders/Glow0.fs"); included files are read from `folder`.
ExpandedGlsl expandGlslIncludes(const std::string& source, const std::string& stagePath, const std::string& folder);
