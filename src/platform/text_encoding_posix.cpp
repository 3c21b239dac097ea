#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace kanaflow {
namespace {

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
  ~Converter() {
    if (descriptor_ != reinterpret_cast<iconv_t>(-1)) iconv_close(descriptor_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<std::string> Convert(std::string_view input) {
    if (descriptor_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
    std::string output(input.size() * 3 / 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t produced = 0;
    while (inLeft > 0) {
      char* out = output.data() + produced;
      std::size_t outLeft = output.size() - produced;
      const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
      produced = output.size() - outLeft;
      if (result != static_cast<std::size_t>(-1)) break;
      if (errno != E2BIG) return std::nullopt;
      output.resize(output.size() * 2);
    }
    output.resize(produced);
    return output;
  }

 private:
  iconv_t descriptor_;
};

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  thread_local Converter converter("UTF-8", "CP932");
  return converter.Convert(cp932);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  thread_local Converter converter("CP932", "UTF-8");
  return converter.Convert(utf8);
}

}  // namespace kanaflow
