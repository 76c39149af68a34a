// Shapefiles through GDAL/OGR when the build has it (FILUM_GDAL): LineString,
// MultiLineString, Polygon and MultiPolygon shapes (rings become closed loops, holes
// included), an attribute giving the color (a whole number, or a name that gets the next
// free color). Written as a LineString layer with the color attribute, through temporary
// side files renamed into place.
#include "formats_internal.h"

#if FILUM_HAVE_GDAL

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>

#include <unistd.h>

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_api.h>

namespace vorn {
namespace filum {
namespace io {
namespace {

const char* const driver_name = "ESRI Shapefile";
const char* const side_extensions[] = {".shp", ".shx", ".dbf", ".prj", ".cpg"};

void register_drivers() {
  static std::once_flag once;
  std::call_once(once, [] { GDALAllRegister(); });
}

// Keeps GDAL's messages off stderr while alive; they reach the user through error instead.
class quiet_gdal {
 public:
  quiet_gdal() {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
  }
  ~quiet_gdal() { CPLPopErrorHandler(); }
  quiet_gdal(const quiet_gdal&) = delete;
  quiet_gdal& operator=(const quiet_gdal&) = delete;

  /// GDAL's last message, prefixed by ": ", or "" when it has none.
  static std::string last() {
    const char* message = CPLGetLastErrorMsg();
    return message && *message ? std::string(": ") + message : std::string();
  }
};

struct dataset_closer {
  void operator()(void* ds) const { GDALClose(ds); }
};
using dataset_ptr = std::unique_ptr<void, dataset_closer>;

struct feature_closer {
  void operator()(OGRFeatureH f) const { OGR_F_Destroy(f); }
};
using feature_ptr = std::unique_ptr<std::remove_pointer_t<OGRFeatureH>, feature_closer>;

class shapefile_reader {
 public:
  shapefile_reader(const std::string& path, const read_options& options)
      : path_(path), color_by_(options.color_by.empty() ? "color" : options.color_by) {}

  line_network read() {
    std::error_code code;
    if (!std::filesystem::exists(path_, code))
      throw error(path_ + ": cannot open: No such file or directory");
    register_drivers();
    quiet_gdal quiet;
    const char* const drivers[] = {driver_name, nullptr};
    dataset_ptr ds(
        GDALOpenEx(path_.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, nullptr, nullptr));
    if (!ds) throw error(path_ + ": expected a shapefile" + quiet_gdal::last());
    net_.dim = 3;
    for (int l = 0; l < GDALDatasetGetLayerCount(ds.get()); ++l)
      layer(GDALDatasetGetLayer(ds.get(), l));
    finish_read(net_);
    return std::move(net_);
  }

 private:
  std::string path_;
  std::string color_by_;
  line_network net_;
  std::map<std::string, unsigned> names_;

  [[noreturn]] void fail(GIntBig feature, const std::string& message) const {
    throw error(path_ + ": shape " + std::to_string(feature) + ": " + message);
  }

  void layer(OGRLayerH layer) {
    const int field = OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(layer), color_by_.c_str());
    OGR_L_ResetReading(layer);
    while (feature_ptr f{OGR_L_GetNextFeature(layer)}) {
      const unsigned color = field < 0 ? none : color_of(f.get(), field);
      if (OGRGeometryH g = OGR_F_GetGeometryRef(f.get())) geometry(g, color, OGR_F_GetFID(f.get()));
    }
    if (CPLGetLastErrorType() >= CE_Failure)
      throw error(path_ + ": cannot read the shapes" + quiet_gdal::last());
  }

  unsigned color_of(OGRFeatureH f, int field) {
    if (!OGR_F_IsFieldSetAndNotNull(f, field)) return none;
    const OGRFieldType type = OGR_Fld_GetType(OGR_F_GetFieldDefnRef(f, field));
    const std::string text = OGR_F_GetFieldAsString(f, field);
    if (type == OFTInteger || type == OFTInteger64 || type == OFTReal) {
      const double v = OGR_F_GetFieldAsDouble(f, field);
      if (!(v >= 0 && v < none && v == std::floor(v)))
        fail(OGR_F_GetFID(f),
             "expected attribute '" + color_by_ + "' as a whole number >= 0, found " + text);
      return static_cast<unsigned>(v);
    }
    const auto known = names_.find(text);
    if (known != names_.end()) return known->second;
    const auto color = static_cast<unsigned>(net_.color_names.size());
    net_.color_names.push_back(text);
    names_.emplace(text, color);
    return color;
  }

  void geometry(OGRGeometryH g, unsigned color, GIntBig feature) {
    const OGRwkbGeometryType type = wkbFlatten(OGR_G_GetGeometryType(g));
    switch (type) {
      case wkbLineString:
        line(g, color, false, feature);
        break;
      case wkbPolygon:
        for (int r = 0; r < OGR_G_GetGeometryCount(g); ++r)
          line(OGR_G_GetGeometryRef(g, r), color, true, feature);
        break;
      case wkbMultiLineString:
      case wkbMultiPolygon:
      case wkbGeometryCollection:
        for (int k = 0; k < OGR_G_GetGeometryCount(g); ++k)
          geometry(OGR_G_GetGeometryRef(g, k), color, feature);
        break;
      case wkbPoint:
      case wkbMultiPoint:
        break;
      default:
        fail(feature,
             std::string("expected lines or polygons, found ") + OGRGeometryTypeToName(type));
    }
  }

  // A line or ring; one whose last point repeats its first, with 4 points or more, is a
  // closed loop.
  void line(OGRGeometryH g, unsigned color, bool ring, GIntBig feature) {
    const int n = OGR_G_GetPointCount(g);
    if (n < 2) fail(feature, "expected a line of 2 points or more, found " + std::to_string(n));
    std::vector<double> points(3 * static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
      double* p = &points[3 * static_cast<std::size_t>(k)];
      OGR_G_GetPoint(g, k, &p[0], &p[1], &p[2]);
      for (int i = 0; i < 3; ++i)
        if (!std::isfinite(p[i])) fail(feature, "expected finite coordinates");
    }
    const bool closed = n >= 4 && std::equal(points.begin(), points.begin() + 3, points.end() - 3);
    if (ring && !closed) fail(feature, "expected a ring whose last point repeats its first");
    if (closed) points.resize(points.size() - 3);
    add_polyline(net_, points, closed, color);
  }
};

std::string without_extension(const std::string& path) {
  return std::filesystem::path(path).replace_extension().string();
}

void remove_side_files(const std::string& base) {
  for (const char* ext : side_extensions)
    std::remove((base + ext).c_str());
}

// Writes the layer into the dataset at path; throws naming target on failure.
void write_layer(const std::string& path, const std::string& target, const line_network& net,
                 const write_options& options) {
  GDALDriverH driver = GDALGetDriverByName(driver_name);
  if (!driver) throw error(target + ": GDAL has no shapefile driver");
  dataset_ptr ds(GDALCreate(driver, path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  if (!ds) throw error(target + ": cannot write" + quiet_gdal::last());
  const auto dim = static_cast<std::size_t>(net.dim);
  OGRLayerH layer =
      GDALDatasetCreateLayer(ds.get(), std::filesystem::path(target).stem().string().c_str(),
                             nullptr, dim == 3 ? wkbLineString25D : wkbLineString, nullptr);
  if (!layer) throw error(target + ": cannot create the layer" + quiet_gdal::last());
  const bool named = !net.color_names.empty();
  OGRFieldDefnH field = OGR_Fld_Create(options.color_by.c_str(), named ? OFTString : OFTInteger);
  const OGRErr made = OGR_L_CreateField(layer, field, TRUE);
  OGR_Fld_Destroy(field);
  if (made != OGRERR_NONE)
    throw error(target + ": cannot add the attribute '" + options.color_by + "'" +
                quiet_gdal::last());
  const int index = OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(layer), options.color_by.c_str());
  for (const element_run& run : element_runs(net)) {
    feature_ptr f{OGR_F_Create(OGR_L_GetLayerDefn(layer))};
    const unsigned color = net.color(run.first);
    if (color == none) {
      OGR_F_SetFieldNull(f.get(), index);
    } else if (!named) {
      OGR_F_SetFieldInteger(f.get(), index, static_cast<int>(color));
    } else {
      const bool has_name = color < net.color_names.size() && !net.color_names[color].empty();
      OGR_F_SetFieldString(
          f.get(), index,
          has_name ? net.color_names[color].c_str() : std::to_string(color).c_str());
    }
    OGRGeometryH g = OGR_G_CreateGeometry(dim == 3 ? wkbLineString25D : wkbLineString);
    auto add = [&](unsigned node) {
      const double* p = &net.coords[node * dim];
      if (dim == 3) {
        OGR_G_AddPoint(g, p[0], p[1], p[2]);
      } else {
        OGR_G_AddPoint_2D(g, p[0], p[1]);
      }
    };
    add(net.edges[2 * run.first]);
    for (std::size_t e = run.first; e < run.first + run.count; ++e)
      add(net.edges[2 * e + 1]);
    OGR_F_SetGeometryDirectly(f.get(), g);
    if (OGR_L_CreateFeature(layer, f.get()) != OGRERR_NONE)
      throw error(target + ": cannot write a shape" + quiet_gdal::last());
  }
  GDALClose(ds.release());
  if (CPLGetLastErrorType() >= CE_Failure)
    throw error(target + ": cannot write" + quiet_gdal::last());
}

}  // namespace

bool shapefiles_supported() {
  return true;
}

line_network read_shapefile(const std::string& path, const read_options& options) {
  return shapefile_reader(path, options).read();
}

void write_shapefile(const std::string& path, const line_network& net,
                     const write_options& options) {
  static std::atomic<unsigned> counter{0};
  register_drivers();
  quiet_gdal quiet;
  const std::filesystem::path target(path);
  const std::string base = without_extension(path);
  const std::string temporary_base =
      (target.parent_path() / ("." + target.stem().string() + ".tmp-" + std::to_string(::getpid()) +
                               "-" + std::to_string(counter++)))
          .string();
  try {
    write_layer(temporary_base + ".shp", path, net, options);
  } catch (...) {
    remove_side_files(temporary_base);
    throw;
  }
  for (const char* ext : side_extensions) {
    std::error_code code;
    if (!std::filesystem::exists(temporary_base + ext, code)) continue;
    if (std::rename((temporary_base + ext).c_str(), (base + ext).c_str()) != 0) {
      const int failed = errno;
      remove_side_files(temporary_base);
      throw error(base + ext +
                  ": cannot rename the temporary file into place: " + std::strerror(failed));
    }
  }
}

}  // namespace io
}  // namespace filum
}  // namespace vorn

#else

namespace vorn {
namespace filum {
namespace io {

bool shapefiles_supported() {
  return false;
}

line_network read_shapefile(const std::string& path, const read_options&) {
  throw error(path + ": shapefile support was not built (needs libgdal-dev)");
}

void write_shapefile(const std::string& path, const line_network&, const write_options&) {
  throw error(path + ": shapefile support was not built (needs libgdal-dev)");
}

}  // namespace io
}  // namespace filum
}  // namespace vorn

#endif
