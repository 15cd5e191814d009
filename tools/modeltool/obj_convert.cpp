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

bool readObjFile(const std::string& path, tinyobj::ObjReader& reader, std::string& error)
{
    tinyobj::ObjReaderConfig config;
    config.triangulate = true;
    config.vertex_color = false;
    config.mtl_search_path = "";
    if (reader.ParseFromFile(path, config))
        return true;
    error = reader.Error().empty() ? "cannot read " + path : reader.Error();
    while (!error.empty() && error.back() == '\n')
        error.pop_back();
    return false;
}

// What the faces of all shapes have in common, which decides how the model is made.
struct ObjFaces {
    size_t count = 0;
    bool everyCornerTextured = true;  // a model is textured only when every corner has coordinates
    bool anySmoothing = false;        // without any smoothing groups, every face is a group of its own
};

ObjFaces surveyFaces(const std::vector<tinyobj::shape_t>& shapes)
{
    ObjFaces faces;
    for (const tinyobj::shape_t& shape : shapes) {
        faces.count += shape.mesh.num_face_vertices.size();
        for (const tinyobj::index_t& index : shape.mesh.indices)
            faces.everyCornerTextured = faces.everyCornerTextured && index.texcoord_index >= 0;
        for (unsigned int id : shape.mesh.smoothing_group_ids)
            faces.anySmoothing = faces.anySmoothing || id != 0;
    }
    return faces;
}

// The model's group for a face of smoothing group `id`: one group per id, made on first use;
// a face outside any group (id 0, in a file that has groups) gets a group of its own.
size_t groupForFace(unsigned int id, bool anySmoothing, std::map<unsigned int, size_t>& groupOfSmoothingId,
                    ModelSource& model)
{
    if (anySmoothing && id == 0) {
        model.groups.emplace_back();
        return model.groups.size() - 1;
    }
    auto found = groupOfSmoothingId.find(id);
    if (found == groupOfSmoothingId.end()) {
        found = groupOfSmoothingId.emplace(id, model.groups.size()).first;
        model.groups.emplace_back();
    }
    return found->second;
}

// The three corners of triangle `face` of `mesh`: vertex indices and, for a textured model,
// coordinates flipped to the model's top-down v. False when a face refers past the file's lists.
bool readTriangle(const tinyobj::mesh_t& mesh, size_t face, const tinyobj::attrib_t& attrib, const std::string& path,
                  ObjImport& result, ModelSourceTriangle& triangle, std::string& error)
{
    const size_t vertexCount = result.model.positions.size() / 3;
    for (int k = 0; k < 3; ++k) {
        const tinyobj::index_t& index = mesh.indices[face * 3 + size_t(k)];
        if (index.vertex_index < 0 || size_t(index.vertex_index) >= vertexCount) {
            error = "a face refers to a vertex that does not exist in " + path;
            return false;
        }
        triangle.index[k] = uint16_t(index.vertex_index);
        if (!result.model.textured)
            continue;
        size_t uv = size_t(index.texcoord_index) * 2;
        if (uv + 1 >= attrib.texcoords.size()) {
            error = "a face refers to a texture coordinate that does not exist in " + path;
            return false;
        }
        triangle.uv[2 * k] = toUnit16(attrib.texcoords[uv], result.clampedTextureCoordinates);
        triangle.uv[2 * k + 1] = toUnit16(1.0f - attrib.texcoords[uv + 1], result.clampedTextureCoordinates);
    }
    return true;
}

// Every face of every shape into its group, in the file's order.
bool readFaces(const std::vector<tinyobj::shape_t>& shapes, const tinyobj::attrib_t& attrib, bool anySmoothing,
               const std::string& path, ObjImport& result, std::string& error)
{
    ModelSource& model = result.model;
    std::map<unsigned int, size_t> groupOfSmoothingId;
    for (const tinyobj::shape_t& shape : shapes) {
        const tinyobj::mesh_t& mesh = shape.mesh;
        for (size_t face = 0; face < mesh.num_face_vertices.size(); ++face) {
            if (mesh.num_face_vertices[face] != 3) {
                error = "a face that could not be triangulated in " + path;
                return false;
            }
            unsigned int id = face < mesh.smoothing_group_ids.size() ? mesh.smoothing_group_ids[face] : 0;
            size_t group = groupForFace(id, anySmoothing, groupOfSmoothingId, model);
            ModelSourceTriangle triangle{};
            if (!readTriangle(mesh, face, attrib, path, result, triangle, error))
                return false;
            model.groups[group].push_back(triangle);
        }
    }
    return true;
}

}  // namespace

bool importObj(const std::string& path, ObjImport& result, std::string& error)
{
    result = ObjImport();
    tinyobj::ObjReader reader;
    if (!readObjFile(path, reader, error))
        return false;
    result.warnings = reader.Warning();
    const tinyobj::attrib_t& attrib = reader.GetAttrib();
    const std::vector<tinyobj::shape_t>& shapes = reader.GetShapes();

    const ObjFaces faces = surveyFaces(shapes);
    if (faces.count == 0) {
        error = "no faces in " + path;
        return false;
    }
    ModelSource& model = result.model;
    model.textured = faces.everyCornerTextured && !attrib.texcoords.empty();
    size_t vertexCount = attrib.vertices.size() / 3;
    if (vertexCount > 65535) {
        error = "more than 65535 vertices (" + std::to_string(vertexCount) + ")";
        return false;
    }
    model.positions.assign(attrib.vertices.begin(), attrib.vertices.begin() + long(vertexCount * 3));
    if (!readFaces(shapes, attrib, faces.anySmoothing, path, result, error))
        return false;
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
