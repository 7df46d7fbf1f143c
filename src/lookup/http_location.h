#pragma once
// Where an HTTP redirect leads: a Location header resolved against the URL
// that sent it.

#include <string>

// The URL that location names, read against base (an absolute http or https
// URL): absolute, scheme-relative, root-relative, query-only, fragment-only
// or path-relative. Dot segments are left to the server.
std::string ResolveLocation(const std::string& base, const std::string& location);
