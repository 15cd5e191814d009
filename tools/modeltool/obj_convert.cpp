#include "obj_convert.h"

#include <tiny_obj_loader.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <ostream>

namespace {

uint16_t toUnit16(float value, size_t& clamped)
{
    if (!(value >= 0.0f && value <= 1.0f)) {
        ++clamped;
        value = std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
    }
    return uint16_t(std::lround(double(value) * 65535.0));
}

}  // namespace

bool importObj(const std::string& path, ObjImport& result, std::string& error)
{
    result = ObjImport();
    tinyobj::ObjReaderConfig config;
    config.triangulate = true;
    config.vertex_color = false;
    config.mtl_search_path = "";
    tinyobj::ObjReader reader;
    if (!reader.ParseFromFile(path, config)) {
        error = reader.Error().empty() ? "cannot read " + path : reader.Error();
        while (!error.empty() && error.back() == '\n')
            error.pop_back();
        return false;
    }
    result.warnings = reader.Warning();
    const tinyobj::attrib_t& attrib = reader.GetAttrib();
    const std::vector<tinyobj::shape_t>& shapes = reader.GetShapes();

    size_t faceCount = 0;
    bool everyCornerTextured = true, anySmoothing = false;
    for (const tinyobj::shape_t& shape : shapes) {
        faceCount += shape.mesh.num_face_vertices.size();
        for (const tinyobj::index_t& index : shape.mesh.indices)
            everyCornerTextured = everyCornerTextured && index.texcoord_index >= 0;
        for (unsigned int id : shape.mesh.smoothing_group_ids)
            anySmoothing = anySmoothing || id != 0;
    }
    if (faceCount == 0) {
        error = "no faces in " + path;
        return false;
    }

    ModelSource& model = result.model;
    model.textured = everyCornerTextured && !attrib.texcoords.empty();
    size_t vertexCount = attrib.vertices.size() / 3;
    if (vertexCount > 65535) {
        error = "more than 65535 vertices (" + std::to_string(vertexCount) + ")";
        return false;
    }
    model.positions.assign(attrib.vertices.begin(), attrib.vertices.begin() + long(vertexCount * 3));

    std::map<unsigned int, size_t> groupOfSmoothingId;
    for (const tinyobj::shape_t& shape : shapes) {
        const tinyobj::mesh_t& mesh = shape.mesh;
        for (size_t face = 0; face < mesh.num_face_vertices.size(); ++face) {
            if (mesh.num_face_vertices[face] != 3) {
                error = "a face that could not be triangulated in " + path;
                return false;
            }
            unsigned int id = face < mesh.smoothing_group_ids.size() ? mesh.smoothing_group_ids[face] : 0;
            size_t group;
            if (!anySmoothing || id != 0) {
                auto found = groupOfSmoothingId.find(id);
                if (found == groupOfSmoothingId.end()) {
                    found = groupOfSmoothingId.emplace(id, model.groups.size()).first;
                    model.groups.emplace_back();
                }
                group = found->second;
            } else {
                group = model.groups.size();
                model.groups.emplace_back();
            }
            ModelSourceTriangle triangle{};
            for (int k = 0; k < 3; ++k) {
                const tinyobj::index_t& index = mesh.indices[face * 3 + size_t(k)];
                if (index.vertex_index < 0 || size_t(index.vertex_index) >= vertexCount) {
                    error = "a face refers to a vertex that does not exist in " + path;
                    return false;
                }
                triangle.index[k] = uint16_t(index.vertex_index);
                if (model.textured) {
                    size_t uv = size_t(index.texcoord_index) * 2;
                    if (uv + 1 >= attrib.texcoords.size()) {
                        error = "a face refers to a texture coordinate that does not exist in " + path;
                        return false;
                    }
                    triangle.uv[2 * k] = toUnit16(attrib.texcoords[uv], result.clampedTextureCoordinates);
                    triangle.uv[2 * k + 1] =
                        toUnit16(1.0f - attrib.texcoords[uv + 1], result.clampedTextureCoordinates);
                }
            }
            model.groups[group].push_back(triangle);
        }
    }
    if (model.groups.size() > 65535) {
        error = "more than 65535 groups (" + std::to_string(model.groups.size()) +
                "): too many faces outside smoothing groups";
        return false;
    }
    return true;
}

void exportObj(const ParsedModel& model, const std::string& name, std::ostream& out)
{
    // Nine significant digits: every float comes back exactly.
    out.precision(9);
    out << "# " << name << ": " << model.vertexCount << " vertices, " << model.groups.size() << " groups\n";
    out << "o " << name << "\n";
    for (size_t i = 0; i + 2 < model.positions.size(); i += 3)
        out << "v " << model.positions[i] << ' ' << model.positions[i + 1] << ' ' << model.positions[i + 2] << "\n";
    bool textured = model.textured();
    size_t corner = 0;
    if (textured)
        for (const ModelGroup& group : model.groups)
            for (const ModelTriangle& triangle : group)
                for (int k = 0; k < 3; ++k)
                    out << "vt " << float(triangle.uv[2 * k]) / 65535.0f << ' '
                        << 1.0f - float(triangle.uv[2 * k + 1]) / 65535.0f << "\n";
    for (size_t g = 0; g < model.groups.size(); ++g) {
        out << "s " << g + 1 << "\n";
        for (const ModelTriangle& triangle : model.groups[g]) {
            out << 'f';
            for (int k = 0; k < 3; ++k) {
                out << ' ' << triangle.index[k] + 1;
                if (textured)
                    out << '/' << ++corner;
            }
            out << "\n";
        }
    }
}
