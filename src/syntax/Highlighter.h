// The line highlighter's entry points used by the text model.
#pragma once

#include <cstdint>

class Document;
class Line;

// Computes the state a line ends in from the state it is entered with. state holds the full
// state word of the previous line (0 before the first line) and receives this line's word.
// True when the line's word changed. Called whenever a line is laid out in a document whose
// class has syntax, and for the lines after an edit while their end states keep changing.
bool ComputeLineEndState(const Document& document, Line& line, std::uint32_t& state);
