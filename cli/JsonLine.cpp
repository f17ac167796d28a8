#include "cli/JsonLine.h"

namespace {

std::string Scalar(const Json& value) {
  return value.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}

}  // namespace

std::string JsonLine(const Json& value) {
  if (value.is_object()) {
    std::string out = "{";
    for (auto it = value.begin(); it != value.end(); ++it) {
      if (it != value.begin()) out += ", ";
      out += JsonString(it.key()) + ": " + JsonLine(it.value());
    }
    return out + "}";
  }
  if (value.is_array()) {
    std::string out = "[";
    for (auto it = value.begin(); it != value.end(); ++it) {
      if (it != value.begin()) out += ", ";
      out += JsonLine(*it);
    }
    return out + "]";
  }
  return Scalar(value);
}

std::string JsonString(const std::string& text) { return Scalar(Json(text)); }
