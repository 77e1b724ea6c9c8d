// Writing action records into the open keymap's action area. Every write is
// checked against the area and the table; a full buffer is reported once and
// marks the keymap damaged, so that it is never installed with a record cut
// short or an action missing.
#pragma once

#include <cstdint>

#include "keymap/keymap_compiler_internal.h"

// Reports a full buffer (once per keymap) and marks the keymap damaged.
void reportKeymapOverflow(KeymapCompiler& compiler, const char* messageUtf8);

// Ends the open char list, then starts a record of `kind` with its second
// byte 0 and a table entry for it. False when the table or the area is full:
// nothing is written and the caller adds no action.
bool beginAction(KeymapCompiler& compiler, uint8_t kind);

// Appends one byte to the record being written; false when the area is full.
bool appendActionByte(KeymapCompiler& compiler, uint8_t byte);

// The record begun last, inside the action area.
uint8_t* lastActionRecord(KeymapCompiler& compiler);
