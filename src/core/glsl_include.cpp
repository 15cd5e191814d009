#include "core/glsl_include.h"

#include "core/load_whole_file.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

// What a line says about including: nothing, a well-formed include of `name`, or a line that
// starts like an include but does not name a file the way one must.
enum class IncludeLine { none, include, malformed };

IncludeLine parseIncludeLine(const std::string& line, std::string& name)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    size_t at = 0;
    while (at < line.size() && isBlank(line[at]))
        ++at;
    if (at == line.size() || line[at] != '#')
        return IncludeLine::none;
    ++at;
    while (at < line.size() && isBlank(line[at]))
        ++at;
    const std::string directive = "include";
    if (line.compare(at, directive.size(), directive) != 0)
        return IncludeLine::none;
    at += directive.size();
    if (at < line.size() && !isBlank(line[at]) && line[at] != '"')
        return IncludeLine::none;  // a longer word, such as "#included"
    while (at < line.size() && isBlank(line[at]))
        ++at;
    if (at == line.size() || line[at] != '"')
        return IncludeLine::malformed;
    const size_t close = line.find('"', at + 1);
    if (close == std::string::npos || close == at + 1)
        return IncludeLine::malformed;
    if (!std::all_of(line.begin() + long(close) + 1, line.end(), isBlank))
        return IncludeLine::malformed;
    name = line.substr(at + 1, close - at - 1);
    return IncludeLine::include;
}

class Expander {
public:
    Expander(const std::string& shaderFolder, ExpandedGlsl& expanded) : folder(shaderFolder), result(expanded) {}

    // Appends `source`, the text of `path` (source string `number`), to `out` with its includes
    // expanded; false after storing the error.
    bool expand(const std::string& source, const std::string& path, int number, std::string& out)
    {
        open.push_back(path);
        taken.insert(path);
        int lineNumber = 0;
        for (size_t start = 0; start < source.size();) {
            size_t end = source.find('\n', start);
            end = end == std::string::npos ? source.size() : end + 1;
            const std::string line = source.substr(start, end - start);
            start = end;
            ++lineNumber;

            std::string name;
            const IncludeLine kind = parseIncludeLine(line.substr(0, line.find('\n')), name);
            if (kind == IncludeLine::none) {
                out += line;
                continue;
            }
            const std::string where = path + ":" + std::to_string(lineNumber) + ": ";
            if (kind == IncludeLine::malformed)
                return fail(where + "an include line must read #include \"<file>\" and nothing more");
            if (!include(folder + "/" + name, where, out))
                return false;
            out += "#line " + std::to_string(lineNumber + 1) + " " + std::to_string(number) + "\n";
        }
        open.pop_back();
        return true;
    }

private:
    bool include(const std::string& path, const std::string& where, std::string& out)
    {
        if (std::find(open.begin(), open.end(), path) != open.end()) {
            std::string chain;
            for (const std::string& file : open)
                chain += file + " > ";
            return fail(where + "including " + path + " closes a cycle (" + chain + path + ")");
        }
        if (taken.count(path))
            return true;

        size_t size = 0;
        uint8_t* bytes = loadWholeFile(path.c_str(), &size);
        if (!bytes)
            return fail(where + "cannot open the included " + path);
        std::string text(reinterpret_cast<const char*>(bytes), size);
        std::free(bytes);
        if (!text.empty() && text.back() != '\n')
            text += '\n';

        const int number = int(result.files.size());
        result.files.push_back(path);
        out += "#line 1 " + std::to_string(number) + "\n";
        return expand(text, path, number, out);
    }

    bool fail(const std::string& error)
    {
        result.error = error;
        return false;
    }

    const std::string& folder;
    ExpandedGlsl& result;
    std::vector<std::string> open;  // the files being expanded, outermost first
    std::set<std::string> taken;    // every file already in the text
};

}  // namespace

ExpandedGlsl expandGlslIncludes(const std::string& source, const std::string& stagePath, const std::string& folder)
{
    ExpandedGlsl result;
    result.files.push_back(stagePath);
    Expander expander(folder, result);
    if (!expander.expand(source, stagePath, 0, result.text))
        result.text.clear();
    return result;
}
