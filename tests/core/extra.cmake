# Resources the core tests read: a 70,000-byte blob under a named and a numeric type, and a small
# bitmap resource written out as data.
set(_core_blob ${CMAKE_CURRENT_BINARY_DIR}/core_test_blob.bin)
string(REPEAT "0123456789" 7000 _core_blob_text)
file(WRITE ${_core_blob} "${_core_blob_text}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/core_test_resources.rc
"BLOB JPEG \"${_core_blob}\"
1 11000 \"${_core_blob}\"
// A 2 x 2 24-bit packed DIB: blue, green on the bottom row; red, white on the top row.
100 2
{
  0x0028, 0x0000, 0x0002, 0x0000, 0x0002, 0x0000, 0x0001, 0x0018,
  0x0000, 0x0000, 0x0010, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,
  0x0000, 0x0000, 0x0000, 0x0000,
  0x00FF, 0x0000, 0x00FF, 0x0000, 0x0000, 0xFFFF, 0xFFFF, 0x0000
}
")
target_sources(test_core PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/core_test_resources.rc)
