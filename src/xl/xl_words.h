#pragma once
// The words a text cell may use for true and false (matched whole, ignoring case).

namespace tambre::xl {

constexpr const char* true_words = "true|1|on|high|ein|wahr|auf";
constexpr const char* false_words = "false|0|off|low|aus|falsch|zu";

}  // namespace tambre::xl
