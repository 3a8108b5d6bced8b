#include "code/polynomial_list.h"

#include "code/code_description.h"
#include "code/comma_list.h"
#include "code/polynomial.h"

namespace brevandor {

PolynomialList parsePolynomialList(std::string_view text) {
  const std::vector<std::string_view> items = splitAtCommas(text);
  PolynomialList list;
  if (items.size() > static_cast<std::size_t>(kMaxParityOutputs)) {
    list.message = " Error : " + std::to_string(items.size()) +
                   " numerators given; a code has at most " + std::to_string(kMaxParityOutputs) +
                   " parity outputs ";
    return list;
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::int32_t mask = parsePolynomial(items[i]);
    if (mask <= 0) {
      list.masks.clear();
      list.message = polynomialMessage(-mask);
      if (items.size() > 1) {
        list.message += "in numerator " + std::to_string(i + 1) + " ";
      }
      return list;
    }
    list.masks.push_back(mask);
  }
  return list;
}

std::string polynomialListText(std::span<const std::int32_t> masks) {
  std::string text;
  for (const std::int32_t mask : masks) {
    text += (text.empty() ? "" : ",") + polynomialText(mask);
  }
  return text;
}

}  // namespace brevandor
