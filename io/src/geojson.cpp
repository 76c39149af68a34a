// GeoJSON: LineString, MultiLineString, Polygon and MultiPolygon geometries (rings become
// closed loops, holes included), in features, collections or alone; a property gives the
// color (a whole number, or a name that gets the next free color). Coordinates are
// taken as they are. Written as a FeatureCollection of LineStrings.
#include <cmath>
#include <iterator>
#include <map>

#include <nlohmann/json.hpp>

#include "formats_internal.h"

namespace vorn {
namespace filum {
namespace io {
namespace {

using json = nlohmann::json;

class geojson_reader {
 public:
  explicit geojson_reader(source& src) : src_(src) {}

  line_network read() {
    const std::string text((std::istreambuf_iterator<char>(src_.stream())),
                           std::istreambuf_iterator<char>());
    json doc;
    try {
      doc = json::parse(text);
    } catch (const json::parse_error& e) {
      const std::size_t at = std::min<std::size_t>(e.byte == 0 ? 0 : e.byte - 1, text.size());
      const std::size_t line =
          1 + static_cast<std::size_t>(
                  std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
      throw error(src_.name() + ":" + std::to_string(line) + ": expected valid JSON: " + e.what());
    } catch (const json::exception& e) {  // a number too large for a double
      throw error(src_.name() + ": expected valid JSON: " + e.what());
    }
    const std::string& key = src_.options().color_by;
    color_by_ = key.empty() ? "color" : key;
    net_.dim = 3;
    try {
      object(doc, none, "the document");
    } catch (const json::exception& e) {  // a number out of range, a value of another type
      throw error(src_.name() + ": expected GeoJSON values: " + e.what());
    }
    finish_read(net_);
    bool any = false;
    for (unsigned c : net_.colors)
      any = any || c != none;
    if (!any) net_.colors.clear();
    return std::move(net_);
  }

 private:
  source& src_;
  line_network net_;
  std::string color_by_;
  std::map<std::string, unsigned> names_;
  std::size_t feature_ = 0;

  [[noreturn]] void fail(const std::string& where, const std::string& message) const {
    throw error(src_.name() + ": " + where + ": " + message);
  }

  static std::string found(const json& j) {
    std::string s = j.dump();
    return s.size() > 40 ? s.substr(0, 40) + "..." : s;
  }

  unsigned color_of(const json& properties, const std::string& where) {
    if (!properties.is_object()) return none;
    const auto it = properties.find(color_by_);
    if (it == properties.end() || it->is_null()) return none;
    if (it->is_number_integer() || it->is_number_unsigned()) {
      const auto v = it->get<long long>();
      if (v < 0 || v >= static_cast<long long>(none))
        fail(where, "expected property '" + color_by_ + "' >= 0, found " + found(*it));
      return static_cast<unsigned>(v);
    }
    if (it->is_number_float()) {
      const double v = it->get<double>();
      if (v >= 0 && v < none && v == std::floor(v)) return static_cast<unsigned>(v);
      fail(where, "expected property '" + color_by_ + "' as a whole number or a name, found " +
                      found(*it));
    }
    const std::string name = it->is_string() ? it->get<std::string>() : it->dump();
    const auto known = names_.find(name);
    if (known != names_.end()) return known->second;
    const auto color = static_cast<unsigned>(net_.color_names.size());
    net_.color_names.push_back(name);
    names_.emplace(name, color);
    return color;
  }

  void object(const json& j, unsigned color, const std::string& where) {
    if (!j.is_object() || !j.contains("type") || !j["type"].is_string())
      fail(where, "expected a GeoJSON object with a type, found " + found(j));
    const std::string type = j["type"];
    if (type == "FeatureCollection") {
      if (!j.contains("features") || !j["features"].is_array())
        fail(where, "expected a features array");
      for (const json& f : j["features"])
        object(f, none, "feature " + std::to_string(++feature_));
    } else if (type == "Feature") {
      const unsigned c = color_of(j.value("properties", json()), where);
      if (j.contains("geometry") && !j["geometry"].is_null()) object(j["geometry"], c, where);
    } else if (type == "GeometryCollection") {
      if (!j.contains("geometries") || !j["geometries"].is_array())
        fail(where, "expected a geometries array");
      for (const json& g : j["geometries"])
        object(g, color, where);
    } else if (type == "LineString") {
      line(coordinates(j, where), color, false, where);
    } else if (type == "MultiLineString" || type == "Polygon") {
      for (const json& l : coordinates(j, where))
        line(l, color, type == "Polygon", where);
    } else if (type == "MultiPolygon") {
      for (const json& polygon : coordinates(j, where)) {
        if (!polygon.is_array())
          fail(where, "expected a polygon as an array of rings, found " + found(polygon));
        for (const json& ring : polygon)
          line(ring, color, true, where);
      }
    } else if (type != "Point" && type != "MultiPoint") {
      fail(where, "expected a GeoJSON geometry type, found '" + type + "'");
    }
  }

  const json& coordinates(const json& j, const std::string& where) const {
    if (!j.contains("coordinates") || !j["coordinates"].is_array())
      fail(where, "expected a coordinates array");
    return j["coordinates"];
  }

  // A line or ring: positions [x, y] or [x, y, z]; a ring (or a line) whose last position
  // repeats its first, with 4 positions or more, is a closed loop.
  void line(const json& positions, unsigned color, bool ring, const std::string& where) {
    if (!positions.is_array())
      fail(where, "expected an array of positions, found " + found(positions));
    std::vector<double> points;
    for (const json& p : positions) {
      if (!p.is_array() || p.size() < 2)
        fail(where, "expected a position [x, y] or [x, y, z], found " + found(p));
      for (std::size_t i = 0; i < 3; ++i) {
        if (i == 2 && p.size() < 3) {
          points.push_back(0);
          continue;
        }
        if (!p[i].is_number() || !std::isfinite(p[i].get<double>()))
          fail(where, "expected a finite coordinate, found " + found(p[i]));
        points.push_back(p[i].get<double>());
      }
    }
    const std::size_t n = points.size() / 3;
    if (n < 2) fail(where, "expected a line of 2 positions or more, found " + std::to_string(n));
    bool closed = n >= 4 && std::equal(points.begin(), points.begin() + 3, points.end() - 3);
    if (ring && !closed) fail(where, "expected a ring whose last position repeats its first");
    if (closed) points.resize(points.size() - 3);
    add_polyline(net_, points, closed, color);
  }
};

std::string color_value(const line_network& net, unsigned color) {
  if (color == none) return "null";
  if (color < net.color_names.size() && !net.color_names[color].empty())
    return json(net.color_names[color]).dump();
  return std::to_string(color);
}

}  // namespace

line_network read_geojson(source& src) {
  return geojson_reader(src).read();
}

void write_geojson(std::ostream& out, const line_network& net, const write_options& options) {
  const auto dim = static_cast<std::size_t>(net.dim);
  const std::string key = json(options.color_by).dump();
  std::string b = "{\"type\": \"FeatureCollection\", \"features\": [";
  bool first = true;
  auto position = [&](unsigned node) {
    b += '[';
    for (std::size_t i = 0; i < dim; ++i) {
      if (i) b += ", ";
      append_double(b, net.coords[node * dim + i]);
    }
    b += ']';
  };
  for (const element_run& run : element_runs(net)) {
    b += first ? "\n" : ",\n";
    first = false;
    b += "{\"type\": \"Feature\", \"properties\": {" + key + ": " +
         color_value(net, net.color(run.first)) +
         "}, \"geometry\": {\"type\": \"LineString\", \"coordinates\": [";
    position(net.edges[2 * run.first]);
    for (std::size_t e = run.first; e < run.first + run.count; ++e) {
      b += ", ";
      position(net.edges[2 * e + 1]);
    }
    b += "]}}";
    flush_buffer(out, b);
  }
  b += "\n]}\n";
  flush_buffer(out, b, true);
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
