# Writes a copy of a UTF-8 text that every desktop Notepad shows as UTF-8:
# a byte order mark first and CRLF line ends. Without the mark older Notepads
# read the text in the system's code page and show it garbled.
#
# Usage: cmake -DINPUT=source.txt -DOUTPUT=copy.txt -P text-for-notepad.cmake
if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "usage: cmake -DINPUT=FILE -DOUTPUT=FILE -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

string(ASCII 239 187 191 byte_order_mark)
file(READ "${INPUT}" text)
# A source that already has the mark, or CRLF line ends, gets them only once.
string(REGEX REPLACE "^${byte_order_mark}" "" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUTPUT}" "${byte_order_mark}${text}")
