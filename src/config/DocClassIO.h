// Reading and writing a document class as a section of the settings tree.
#pragma once

#include <string>

#include "config/DocClass.h"

class ConfigFile;

// Reads every key of the class from the section name below the current section (created when
// missing; a missing key is added with its built-in default) into docClass, names the class
// and makes the enclosing section current again. False, with docClass untouched, when name
// holds a value rather than a section.
bool LoadClassSection(ConfigFile& settings, const std::wstring& name, DocClass& docClass);
// Writes every key of the class into the section name below the current section. False, with
// nothing written, when name holds a value.
bool SaveClassSection(ConfigFile& settings, const std::wstring& name, const DocClass& docClass);
