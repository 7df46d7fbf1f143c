#include "lookup/http_location.h"

std::string ResolveLocation(const std::string& base, const std::string& location) {
    // A scheme is letters before a colon that comes before any path, query or fragment.
    const size_t colon = location.find(':');
    if (colon != std::string::npos && colon > 0 && colon < location.find_first_of("/?#")) return location;
    const size_t schemeEnd = base.find("://");
    if (schemeEnd == std::string::npos) return location;
    if (location.compare(0, 2, "//") == 0) return base.substr(0, schemeEnd + 1) + location;
    const size_t pathStart = base.find_first_of("/?#", schemeEnd + 3);
    const std::string origin = base.substr(0, pathStart);
    if (location.empty() || location[0] == '#') return base.substr(0, base.find('#'));  // the fragment stays here
    if (location[0] == '/') return origin + location;
    std::string path = "/";
    if (pathStart != std::string::npos && base[pathStart] == '/') {
        path = base.substr(pathStart, base.find_first_of("?#", pathStart) - pathStart);
    }
    if (location[0] == '?') return origin + path + location;
    return origin + path.substr(0, path.rfind('/') + 1) + location;
}
