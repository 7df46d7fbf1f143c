#pragma once
// The ids the program names in its resource id header, read from the source
// itself so that no test keeps a copy of them.

#include <fstream>
#include <map>
#include <sstream>
#include <string>

// name -> value of every #define of resource_ids.h whose name starts with prefix.
inline std::map<std::string, int> ResourceIds(const std::string& prefix) {
    std::ifstream in(OL_SOURCE_DIR "/resources/resource_ids.h");
    std::map<std::string, int> ids;
    std::string define, name;
    int value = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        if (words >> define >> name >> value && define == "#define" && name.rfind(prefix, 0) == 0) ids[name] = value;
    }
    return ids;
}
