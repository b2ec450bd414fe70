// Finding the URL values in a piece of HTML or CSS that may hold references
// to other files.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct TextSpan {
  std::size_t offset;
  std::size_t length;
};

// The values of href, src, srcset (each URL in it), action, formaction,
// poster, data, cite and background attributes inside tags (double-,
// single- or unquoted, the name in any case), and the URLs of CSS url(...)
// in text and in style attributes, in text order. Comments are left out.
std::vector<TextSpan> FindReferenceValues(const std::string& text);
