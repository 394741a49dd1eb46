#include "messaging/message_sink.h"

#include <exception>
#include <new>

namespace messaging {

std::string describe_current_exception() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return std::string(k_out_of_memory);
  } catch (const std::exception& error) {
    std::string text = "Erreur inattendue : ";
    text += error.what();
    return text;
  } catch (...) {
    return "Erreur inattendue.";
  }
}

}  // namespace messaging
