// cp932-literals IN OUT: writes a copy of the source IN to OUT with its
// narrow literals in CP932 (see literal_rewriter.h), creating OUT's folder.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "literals/literal_rewriter.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: cp932-literals IN OUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
    return 1;
  }
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const kanaflow::literals::RewriteResult result =
      kanaflow::literals::RewriteNarrowLiterals(source, kanaflow::literals::Utf8ToCp932);
  if (!result.error.empty()) {
    std::fprintf(stderr, "%s:%s\n", argv[1], result.error.c_str());
    return 1;
  }
  const std::filesystem::path output = argv[2];
  std::error_code ignored;
  std::filesystem::create_directories(output.parent_path(), ignored);
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out << result.text;
  if (!out.flush()) {
    std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
    return 1;
  }
  return 0;
}
