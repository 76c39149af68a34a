// Gmsh MSH: 4.1 read and written (ASCII and binary), 2.2 read (ASCII and binary).
// Colors are physical tags minus one (entity tags minus one on curves without a physical
// group): Gmsh numbers from 1, colors from 0.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

#include "formats_internal.h"

namespace vorn {
namespace filum {
namespace io {
namespace {

// Nodes per element of the Gmsh element types 1 ... 31; 0 for an unknown type.
int nodes_of_type(long long type) {
  static const int counts[] = {0, 2,  3,  4,  4, 8,  6,  5,  3,  6,  9, 10, 27, 18, 14, 1,
                               8, 20, 15, 13, 9, 10, 12, 15, 15, 21, 4, 5,  6,  20, 35, 56};
  return type >= 1 && type <= 31 ? counts[type] : 0;
}

bool is_line_type(long long type) {
  return type == 1 || type == 8 || (type >= 26 && type <= 28);
}

// Node tags to node indices: a table when the tags are dense enough, else a hash map.
class node_lookup {
 public:
  void reset(long long min_tag, long long max_tag, std::size_t count) {
    min_ = min_tag;
    dense_ = max_tag >= min_tag && static_cast<std::uint64_t>(max_tag - min_tag) < 4 * count + 1024;
    if (dense_) table_.assign(static_cast<std::size_t>(max_tag - min_tag + 1), none);
  }
  // False when the tag was already given.
  bool add(long long tag, unsigned index) {
    if (dense_ && (tag < min_ || tag - min_ >= static_cast<long long>(table_.size()))) {
      for (std::size_t k = 0; k < table_.size(); ++k)
        if (table_[k] != none) map_.emplace(min_ + static_cast<long long>(k), table_[k]);
      table_ = std::vector<unsigned>();
      dense_ = false;
    }
    if (dense_) {
      unsigned& slot = table_[static_cast<std::size_t>(tag - min_)];
      if (slot != none) return false;
      slot = index;
      return true;
    }
    return map_.emplace(tag, index).second;
  }
  unsigned find(long long tag) const {
    if (dense_) {
      const long long k = tag - min_;
      return k >= 0 && k < static_cast<long long>(table_.size()) ? table_[k] : none;
    }
    const auto it = map_.find(tag);
    return it == map_.end() ? none : it->second;
  }

 private:
  bool dense_ = true;
  long long min_ = 0;
  std::vector<unsigned> table_;
  std::unordered_map<long long, unsigned> map_;
};

class msh_reader {
 public:
  explicit msh_reader(source& src) : src_(src) {}

  line_network read() {
    std::string header;
    bool seen_format = false;
    while (true) {
      if (!src_.next_line(header)) break;
      if (header.find_first_not_of(" \t") == std::string::npos) continue;
      if (header == "$MeshFormat") {
        read_format();
        seen_format = true;
      } else if (!seen_format) {
        src_.fail("expected $MeshFormat, found '" + header.substr(0, 40) + "'");
      } else if (header == "$PhysicalNames") {
        read_physical_names();
      } else if (header == "$Entities" && version_ == 41) {
        read_entities();
      } else if (header == "$Nodes") {
        version_ == 41 ? read_nodes41() : read_nodes22();
      } else if (header == "$Elements") {
        if (!seen_nodes_) src_.fail("expected $Nodes before $Elements");
        version_ == 41 ? read_elements41() : read_elements22();
      } else if (header.size() > 1 && header[0] == '$') {
        skip_section(header.substr(1));
      } else {
        src_.fail("expected a section such as $Nodes, found '" + header.substr(0, 40) + "'");
      }
    }
    if (!seen_format) src_.fail("expected $MeshFormat, found an empty file");
    if (!seen_nodes_) src_.fail("expected a $Nodes section, found the end of the file");
    finish_read(net_);
    bool any_color = false;
    for (unsigned c : net_.colors)
      any_color = any_color || c != none;
    if (!any_color) net_.colors.clear();
    return std::move(net_);
  }

 private:
  source& src_;
  line_network net_;
  int version_ = 41;
  bool binary_ = false;
  bool seen_nodes_ = false;
  std::string line_;
  std::vector<std::string_view> words_;
  std::size_t next_word_ = 0;
  std::map<long long, long long> curve_physical_;  // curve entity tag -> first physical tag
  node_lookup nodes_;
  std::vector<std::uint64_t> chunk_;

  [[noreturn]] void fail(const std::string& message) const {
    binary_ ? src_.fail_at_byte(message) : src_.fail(message);
  }

  std::string_view word(const char* what) {
    while (next_word_ == words_.size()) {
      if (!src_.next_line(line_))
        fail(std::string("expected ") + what + ", found the end of the file");
      words_ = split_words(line_);
      next_word_ = 0;
      if (!words_.empty() && words_[0][0] == '$')
        fail(std::string("expected ") + what + ", found '" + std::string(words_[0]) + "'");
    }
    return words_[next_word_++];
  }

  // A whole number; in binary files an int (4 bytes) or a size_t (8 bytes).
  long long integer(const char* what, bool size_t_value, long long low = 0,
                    long long high = 0x7FFFFFFFFFFFFFFF) {
    if (!binary_) return parse_integer(src_, word(what), what, low, high);
    long long value;
    if (size_t_value) {
      const auto v = src_.read_binary<std::uint64_t>(what);
      value = v > 0x7FFFFFFFFFFFFFFFull ? -1 : static_cast<long long>(v);
    } else {
      value = src_.read_binary<std::int32_t>(what);
    }
    if (value < low || value > high)
      fail(std::string("expected ") + what + ", found " + std::to_string(value));
    return value;
  }

  double real(const char* what) {
    if (!binary_) return parse_coordinate(src_, word(what));
    const double x = src_.read_binary<double>(what);
    if (!std::isfinite(x)) fail(std::string("expected ") + what + ", found " + std::to_string(x));
    return x;
  }

  // The end of a section: nothing but its $End line may follow.
  void end_section(const char* name) {
    const std::string end = std::string("$End") + name;
    if (!binary_ && next_word_ < words_.size())
      src_.fail("expected " + end + ", found '" + std::string(words_[next_word_]) + "'");
    words_.clear();
    next_word_ = 0;
    std::string text;
    while (src_.next_line(text)) {
      if (text.empty() && binary_) continue;
      if (text != end) src_.fail("expected " + end + ", found '" + text.substr(0, 40) + "'");
      return;
    }
    src_.fail("expected " + end + ", found the end of the file");
  }

  void skip_section(const std::string& name) {
    std::string text;
    while (src_.next_line(text))
      if (text == "$End" + name) return;
    src_.fail("expected $End" + name + ", found the end of the file");
  }

  void read_format() {
    const std::vector<std::string_view> w = split_words(src_.need_line("the MSH version"));
    if (w.size() != 3) src_.fail("expected 'version file-type data-size', found " + line_);
    if (w[0] == "4.1") {
      version_ = 41;
    } else if (w[0] == "2.2") {
      version_ = 22;
    } else {
      src_.fail("expected MSH version 4.1 or 2.2, found '" + std::string(w[0]) + "'");
    }
    binary_ = parse_integer(src_, w[1], "file type 0 (ASCII) or 1 (binary)", 0, 1) == 1;
    if (binary_ && parse_integer(src_, w[2], "data size 8", 8, 8) != 8)
      src_.fail("expected data size 8");
    if (binary_) {
      const auto one = src_.read_binary<std::int32_t>("the endianness mark 1");
      if (one != 1) fail("expected the endianness mark 1, found " + std::to_string(one));
    }
    end_section("MeshFormat");
  }

  void read_physical_names() {
    const bool was_binary = binary_;
    binary_ = false;  // this section is text in binary files too
    const long long n = integer("the number of physical names", true, 0, 1 << 24);
    for (long long k = 0; k < n; ++k) {
      const long long dim = integer("a physical dimension", false, 0, 3);
      const long long tag = integer("a physical tag", false, 1, 1 << 24);
      std::string name;
      const std::size_t open = line_.find('"'), close = line_.rfind('"');
      if (open == std::string::npos || close == open) src_.fail("expected a quoted name");
      name = line_.substr(open + 1, close - open - 1);
      next_word_ = words_.size();
      if (dim == 1) {
        if (net_.color_names.size() < static_cast<std::size_t>(tag))
          net_.color_names.resize(static_cast<std::size_t>(tag));
        net_.color_names[static_cast<std::size_t>(tag - 1)] = name;
      }
    }
    end_section("PhysicalNames");
    binary_ = was_binary;
  }

  void read_entities() {
    long long counts[4];
    for (long long& c : counts)
      c = integer("an entity count", true, 0, 1 << 28);
    for (int dim = 0; dim < 4; ++dim) {
      for (long long k = 0; k < counts[dim]; ++k) {
        const long long tag = integer("an entity tag", false, 1 - (1ll << 31), (1ll << 31) - 1);
        for (int i = 0; i < (dim == 0 ? 3 : 6); ++i)
          real("a bounding box coordinate");
        const long long physicals = integer("a physical tag count", true, 0, 1 << 20);
        for (long long p = 0; p < physicals; ++p) {
          const long long physical =
              integer("a physical tag", false, -(1ll << 31), (1ll << 31) - 1);
          if (dim == 1 && p == 0) curve_physical_[tag] = std::abs(physical);
        }
        if (dim == 0) continue;
        const long long bounds = integer("a bounding entity count", true, 0, 1 << 28);
        for (long long b = 0; b < bounds; ++b)
          integer("a bounding entity tag", false, -(1ll << 31), (1ll << 31) - 1);
      }
    }
    end_section("Entities");
  }

  void add_node(long long tag, unsigned index) {
    if (!nodes_.add(tag, index))
      fail("expected a new node tag, found " + std::to_string(tag) + " again");
  }

  void read_nodes41() {
    const long long blocks = integer("the number of node blocks", true, 0, 1ll << 40);
    const long long count = integer("the number of nodes", true, 0, 0xFFFFFFFEll);
    const long long min_tag = integer("the smallest node tag", true);
    const long long max_tag = integer("the largest node tag", true);
    const unsigned node_bytes = binary_ ? 32 : 6;  // the least a node takes in the file
    src_.check_room(static_cast<std::uint64_t>(count), node_bytes, "nodes", binary_);
    nodes_.reset(min_tag, max_tag, static_cast<std::size_t>(count));
    net_.coords.reserve(3 * src_.reservable(static_cast<std::uint64_t>(count), node_bytes));
    bool sequential = true;
    std::size_t read = 0;
    std::vector<std::int64_t> tags;
    for (long long b = 0; b < blocks; ++b) {
      const long long dim = integer("an entity dimension", false, 0, 3);
      integer("an entity tag", false, 1 - (1ll << 31), (1ll << 31) - 1);
      const long long parametric = integer("0 or 1 (parametric)", false, 0, 1);
      const long long n = integer("the number of nodes of the block", true, 0,
                                  count - static_cast<long long>(read));
      tags.resize(static_cast<std::size_t>(n));
      if (binary_ && n > 0) {
        src_.read_bytes(tags.data(), tags.size() * 8, "node tags");
      } else {
        for (auto& t : tags)
          t = integer("a node tag", true);
      }
      for (std::int64_t t : tags) {
        if (t < min_tag || t > max_tag)
          fail("expected a node tag in [" + std::to_string(min_tag) + ", " +
               std::to_string(max_tag) + "], found " + std::to_string(t));
        keep_tag(t, read, sequential);
        add_node(t, static_cast<unsigned>(read++));
      }
      const std::size_t values = 3 + static_cast<std::size_t>(parametric * dim);
      const std::size_t first = net_.coords.size();
      if (binary_ && parametric == 0 && n > 0) {
        net_.coords.resize(first + 3 * tags.size());
        src_.read_bytes(&net_.coords[first], 3 * tags.size() * 8, "node coordinates");
        for (std::size_t k = first; k < net_.coords.size(); ++k)
          if (!std::isfinite(net_.coords[k]))
            fail("node " + std::to_string(tags[(k - first) / 3]) +
                 ": expected finite coordinates, found " + std::to_string(net_.coords[k]));
      } else {
        for (std::size_t k = 0; k < tags.size(); ++k)
          for (std::size_t i = 0; i < values; ++i) {
            const double x = real("a node coordinate");
            if (i < 3) net_.coords.push_back(x);
          }
      }
      if (binary_) src_.report_progress();
    }
    if (read != static_cast<std::size_t>(count))
      fail("expected " + std::to_string(count) + " nodes as the $Nodes header says, found " +
           std::to_string(read));
    seen_nodes_ = true;
    end_section("Nodes");
  }

  // Keeps the node tags once they stop being 1, 2, ..., n.
  void keep_tag(long long tag, std::size_t index, bool& sequential) {
    if (sequential && tag == static_cast<long long>(index) + 1) return;
    if (sequential)
      for (std::size_t j = 1; j <= index; ++j)
        net_.node_tags.push_back(static_cast<std::int64_t>(j));
    sequential = false;
    net_.node_tags.push_back(tag);
  }

  unsigned node_index(long long tag, long long element) const {
    const unsigned index = nodes_.find(tag);
    if (index == none)
      fail("element " + std::to_string(element) + ": expected a node tag of $Nodes, found " +
           std::to_string(tag));
    return index;
  }

  // The physical tag less one; the entity tag less one when the file has no physical
  // group on curves at all; else none.
  unsigned color_of_entity(long long entity) const {
    bool any_physical = false;
    for (const auto& entry : curve_physical_)
      any_physical = any_physical || entry.second > 0;
    const auto it = curve_physical_.find(entity);
    long long tag = it != curve_physical_.end() ? it->second : 0;
    if (!any_physical) tag = entity;
    return tag >= 1 ? static_cast<unsigned>(tag - 1) : none;
  }

  void add_element(unsigned a, unsigned b, unsigned color) {
    net_.edges.push_back(a);
    net_.edges.push_back(b);
    net_.colors.push_back(color);
  }

  void read_elements41() {
    const long long blocks = integer("the number of element blocks", true, 0, 1ll << 40);
    const long long count = integer("the number of elements", true, 0, 0x7FFFFFFFll);
    integer("the smallest element tag", true);
    integer("the largest element tag", true);
    long long read = 0;
    for (long long b = 0; b < blocks; ++b) {
      const long long dim = integer("an entity dimension", false, 0, 3);
      const long long entity = integer("an entity tag", false, 1 - (1ll << 31), (1ll << 31) - 1);
      const long long type = integer("an element type", false, -(1ll << 31), (1ll << 31) - 1);
      const int per = nodes_of_type(type);
      if (per == 0) fail("expected a known element type (1 to 31), found " + std::to_string(type));
      const long long n = integer("the number of elements of the block", true, 0, count - read);
      read += n;
      const bool line = is_line_type(type);
      const unsigned color = dim == 1 ? color_of_entity(entity) : none;
      const std::size_t width = 1 + static_cast<std::size_t>(per);
      src_.check_room(static_cast<std::uint64_t>(n),
                      static_cast<unsigned>(binary_ ? 8 * width : 2 * width), "elements", binary_);
      if (line) net_.edges.reserve(net_.edges.size() + 2 * static_cast<std::size_t>(n));
      if (binary_) {
        const std::size_t step = std::max<std::size_t>(1, (1u << 20) / width);
        for (long long done = 0; done < n;) {
          const std::size_t m = static_cast<std::size_t>(std::min<long long>(n - done, step));
          chunk_.resize(m * width);
          src_.read_bytes(chunk_.data(), chunk_.size() * 8, "element data");
          if (line)
            for (std::size_t k = 0; k < m; ++k) {
              const auto tag = static_cast<long long>(chunk_[k * width]);
              add_element(node_index(static_cast<long long>(chunk_[k * width + 1]), tag),
                          node_index(static_cast<long long>(chunk_[k * width + 2]), tag), color);
            }
          done += static_cast<long long>(m);
        }
      } else {
        for (long long k = 0; k < n; ++k) {
          const long long tag = integer("an element tag", true);
          long long ends[2] = {0, 0};
          for (int i = 0; i < per; ++i) {
            const long long node = integer("a node tag", true);
            if (i < 2) ends[i] = node;
          }
          if (line) add_element(node_index(ends[0], tag), node_index(ends[1], tag), color);
        }
      }
    }
    if (read != count)
      fail("expected " + std::to_string(count) + " elements as the $Elements header says, found " +
           std::to_string(read));
    end_section("Elements");
  }

  // A count on a text line of its own, as 2.2 gives them in binary files too.
  long long text_count(const char* what) {
    const bool was_binary = binary_;
    binary_ = false;
    const long long count = integer(what, false, 0, 0x7FFFFFFEll);
    if (next_word_ < words_.size())
      src_.fail("expected a line with " + std::string(what) + " alone, found '" +
                std::string(words_[next_word_]) + "'");
    binary_ = was_binary;
    if (binary_) words_.clear(), next_word_ = 0;
    return count;
  }

  void read_nodes22() {
    const long long count = text_count("the number of nodes");
    src_.check_room(static_cast<std::uint64_t>(count), binary_ ? 28 : 6, "nodes", binary_);
    nodes_.reset(1, count, static_cast<std::size_t>(count));
    bool sequential = true;
    for (long long k = 0; k < count; ++k) {
      const long long tag = integer("a node tag", false, 1, 0x7FFFFFFFll);
      keep_tag(tag, static_cast<std::size_t>(k), sequential);
      add_node(tag, static_cast<unsigned>(k));
      for (int i = 0; i < 3; ++i)
        net_.coords.push_back(real("a node coordinate"));
    }
    seen_nodes_ = true;
    end_section("Nodes");
  }

  void add_element22(long long tag, long long type, const std::vector<long long>& tags,
                     const std::vector<long long>& nodes) {
    if (!is_line_type(type)) return;
    const long long physical = !tags.empty() ? tags[0] : 0;
    const long long entity = tags.size() > 1 ? tags[1] : 0;
    const long long c = physical > 0 ? physical : entity;
    add_element(node_index(nodes[0], tag), node_index(nodes[1], tag),
                c >= 1 ? static_cast<unsigned>(c - 1) : none);
  }

  void read_elements22() {
    const long long count = text_count("the number of elements");
    std::vector<long long> tags, nodes;
    long long read = 0;
    while (read < count) {
      long long type = 0, follow = 1, ntags = 0;
      if (binary_) {
        type = integer("an element type", false, -(1ll << 31), (1ll << 31) - 1);
        if (nodes_of_type(type) == 0)
          fail("expected a known element type (1 to 31), found " + std::to_string(type));
        follow = integer("the number of elements that follow", false, 1, count - read);
        ntags = integer("the number of element tags", false, 0, 64);
      }
      for (long long k = 0; k < follow; ++k) {
        const long long tag = integer("an element tag", false, 0, 0x7FFFFFFFll);
        if (!binary_) {
          type = integer("an element type", false, -(1ll << 31), (1ll << 31) - 1);
          if (nodes_of_type(type) == 0)
            fail("expected a known element type (1 to 31), found " + std::to_string(type));
          ntags = integer("the number of element tags", false, 0, 64);
        }
        tags.resize(static_cast<std::size_t>(ntags));
        for (auto& t : tags)
          t = integer("an element tag value", false, -(1ll << 31), (1ll << 31) - 1);
        nodes.resize(static_cast<std::size_t>(nodes_of_type(type)));
        for (auto& n : nodes)
          n = integer("a node tag", false, 0, 0x7FFFFFFFll);
        add_element22(tag, type, tags, nodes);
      }
      read += follow;
    }
    end_section("Elements");
  }
};

// Writes numbers as text or as binary values into a buffer flushed now and then.
class msh_writer {
 public:
  msh_writer(std::ostream& out, bool binary) : out_(out), binary_(binary) {}
  ~msh_writer() = default;

  void text(const char* s) { buffer_ += s; }
  void integer(long long v, bool size_t_value) {
    if (binary_) {
      if (size_t_value) {
        const auto u = static_cast<std::uint64_t>(v);
        buffer_.append(reinterpret_cast<const char*>(&u), 8);
      } else {
        const auto i = static_cast<std::int32_t>(v);
        buffer_.append(reinterpret_cast<const char*>(&i), 4);
      }
    } else {
      buffer_ += std::to_string(v);
    }
  }
  void real(double x) {
    if (binary_) {
      buffer_.append(reinterpret_cast<const char*>(&x), 8);
    } else {
      append_double(buffer_, x);
    }
  }
  // A separator between numbers of one line (nothing in binary data).
  void space() {
    if (!binary_) buffer_ += ' ';
  }
  void end_line() {
    if (!binary_) buffer_ += '\n';
    flush_buffer(out_, buffer_);
  }
  void finish() { flush_buffer(out_, buffer_, true); }
  // Binary data of count entries of width values of type T, each filled by fill(k, values),
  // written through a fixed block.
  template <class T, class Fill>
  void bulk(std::size_t count, std::size_t width, Fill fill) {
    flush_buffer(out_, buffer_, true);
    std::vector<T> block(std::min<std::size_t>(count, 1u << 16) * width);
    for (std::size_t done = 0; done < count;) {
      const std::size_t m = std::min(count - done, block.size() / width);
      for (std::size_t k = 0; k < m; ++k)
        fill(done + k, &block[k * width]);
      out_.write(reinterpret_cast<const char*>(block.data()),
                 static_cast<std::streamsize>(m * width * sizeof(T)));
      done += m;
    }
  }

 private:
  std::ostream& out_;
  bool binary_;
  std::string buffer_;
};

}  // namespace

line_network read_msh(source& src) {
  return msh_reader(src).read();
}

void write_msh(std::ostream& out, const line_network& net, const write_options& options) {
  const std::size_t n = net.node_count(), m = net.element_count();
  const auto dim = static_cast<std::size_t>(net.dim);
  // One curve entity per color, tags 1, 2, ... in color order; none last.
  std::vector<unsigned> colors;
  for (std::size_t e = 0; e < m; ++e)
    colors.push_back(net.color(e));
  std::sort(colors.begin(), colors.end());
  colors.erase(std::unique(colors.begin(), colors.end()), colors.end());
  if (colors.empty()) colors.push_back(none);
  auto entity_of = [&](unsigned color) {
    return static_cast<long long>(std::lower_bound(colors.begin(), colors.end(), color) -
                                  colors.begin()) +
           1;
  };
  std::vector<double> boxes(colors.size() * 6);
  for (std::size_t c = 0; c < colors.size(); ++c)
    for (int i = 0; i < 3; ++i)
      boxes[6 * c + i] = 1e300, boxes[6 * c + 3 + i] = -1e300;
  for (std::size_t e = 0; e < m; ++e) {
    double* box = &boxes[6 * static_cast<std::size_t>(entity_of(net.color(e)) - 1)];
    for (int end = 0; end < 2; ++end)
      for (std::size_t i = 0; i < 3; ++i) {
        const double x = i < dim ? net.coords[net.edges[2 * e + end] * dim + i] : 0.0;
        box[i] = std::min(box[i], x);
        box[3 + i] = std::max(box[3 + i], x);
      }
  }
  for (double& x : boxes)
    if (std::abs(x) == 1e300) x = 0;
  auto tag_of = [&](std::size_t node) {
    return net.node_tags.size() == n ? static_cast<long long>(net.node_tags[node])
                                     : static_cast<long long>(node + 1);
  };

  msh_writer w(out, options.binary);
  w.text(options.binary ? "$MeshFormat\n4.1 1 8\n" : "$MeshFormat\n4.1 0 8\n");
  if (options.binary) {
    w.integer(1, false);
    w.text("\n");
  }
  w.text("$EndMeshFormat\n");
  std::vector<std::size_t> named;
  for (unsigned c : colors)
    if (c != none && c < net.color_names.size() && !net.color_names[c].empty()) named.push_back(c);
  if (!named.empty()) {
    w.text(("$PhysicalNames\n" + std::to_string(named.size()) + "\n").c_str());
    for (std::size_t c : named) {
      std::string name = net.color_names[c];
      name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
      w.text(("1 " + std::to_string(c + 1) + " \"" + name + "\"\n").c_str());
    }
    w.text("$EndPhysicalNames\n");
  }

  w.text("$Entities\n");
  w.integer(0, true), w.space(), w.integer(static_cast<long long>(colors.size()), true), w.space();
  w.integer(0, true), w.space(), w.integer(0, true), w.end_line();
  for (std::size_t c = 0; c < colors.size(); ++c) {
    w.integer(static_cast<long long>(c) + 1, false);
    for (int i = 0; i < 6; ++i)
      w.space(), w.real(boxes[6 * c + i]);
    w.space();
    w.integer(colors[c] == none ? 0 : 1, true);
    if (colors[c] != none) w.space(), w.integer(static_cast<long long>(colors[c]) + 1, false);
    w.space(), w.integer(0, true), w.end_line();
  }
  w.text("$EndEntities\n$Nodes\n");
  long long min_tag = n ? tag_of(0) : 0, max_tag = min_tag;
  for (std::size_t k = 0; k < n; ++k)
    min_tag = std::min(min_tag, tag_of(k)), max_tag = std::max(max_tag, tag_of(k));
  w.integer(n ? 1 : 0, true), w.space(), w.integer(static_cast<long long>(n), true), w.space();
  w.integer(min_tag, true), w.space(), w.integer(max_tag, true), w.end_line();
  if (n) {
    w.integer(1, false), w.space(), w.integer(1, false), w.space(), w.integer(0, false), w.space();
    w.integer(static_cast<long long>(n), true), w.end_line();
    if (options.binary) {  // whole arrays at once: the rate large files need
      w.bulk<std::uint64_t>(n, 1, [&](std::size_t k, std::uint64_t* to) {
        to[0] = static_cast<std::uint64_t>(tag_of(k));
      });
      w.bulk<double>(n, 3, [&](std::size_t k, double* to) {
        for (std::size_t i = 0; i < 3; ++i)
          to[i] = i < dim ? net.coords[k * dim + i] : 0.0;
      });
    } else {
      for (std::size_t k = 0; k < n; ++k)
        w.integer(tag_of(k), true), w.end_line();
      for (std::size_t k = 0; k < n; ++k) {
        for (std::size_t i = 0; i < 3; ++i) {
          if (i) w.space();
          w.real(i < dim ? net.coords[k * dim + i] : 0.0);
        }
        w.end_line();
      }
    }
  }
  w.text("$EndNodes\n$Elements\n");
  // One block per run of equal colors, so that the elements keep their order.
  std::vector<std::size_t> starts;
  for (std::size_t e = 0; e < m; ++e)
    if (e == 0 || net.color(e) != net.color(e - 1)) starts.push_back(e);
  starts.push_back(m);
  w.integer(static_cast<long long>(starts.size() - 1), true), w.space();
  w.integer(static_cast<long long>(m), true), w.space();
  w.integer(m ? 1 : 0, true), w.space(), w.integer(static_cast<long long>(m), true), w.end_line();
  for (std::size_t b = 0; b + 1 < starts.size(); ++b) {
    w.integer(1, false), w.space(), w.integer(entity_of(net.color(starts[b])), false), w.space();
    w.integer(1, false), w.space(),
        w.integer(static_cast<long long>(starts[b + 1] - starts[b]), true);
    w.end_line();
    if (options.binary) {
      w.bulk<std::uint64_t>(starts[b + 1] - starts[b], 3, [&](std::size_t k, std::uint64_t* to) {
        const std::size_t e = starts[b] + k;
        to[0] = e + 1;
        to[1] = static_cast<std::uint64_t>(tag_of(net.edges[2 * e]));
        to[2] = static_cast<std::uint64_t>(tag_of(net.edges[2 * e + 1]));
      });
      continue;
    }
    for (std::size_t e = starts[b]; e < starts[b + 1]; ++e) {
      w.integer(static_cast<long long>(e) + 1, true), w.space();
      w.integer(tag_of(net.edges[2 * e]), true), w.space();
      w.integer(tag_of(net.edges[2 * e + 1]), true), w.end_line();
    }
  }
  w.text("$EndElements\n");
  w.finish();
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
