# cmake -DTEMPLATE=Main.form.in -DBANNER=banner.jpg -DSKIN=Kestrip.skn -DOUT=Main.form -P MakeForm.cmake
# Puts the banner picture and the packed skin into the main window's description.

# The file's length (32-bit little-endian) followed by its bytes, as hex digits.
function(length_and_bytes file out)
  file(READ ${file} bytes HEX)
  file(SIZE ${file} size)
  set(length "")
  foreach(shift 0 8 16 24)
    math(EXPR byte "(${size} >> ${shift}) & 255" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${byte}" 2 -1 byte)
    if(byte MATCHES "^.$")
      set(byte "0${byte}")
    endif()
    string(APPEND length "${byte}")
  endforeach()
  set(${out} "${length}${bytes}" PARENT_SCOPE)
endfunction()

# 64 upper-case digits a line, indented under the property.
function(hex_lines data out)
  string(TOUPPER "${data}" data)
  string(LENGTH "${data}" total)
  set(lines "")
  foreach(at RANGE 0 ${total} 64)
    string(SUBSTRING "${data}" ${at} 64 line)
    if(line)
      string(APPEND lines "\n      ${line}")
    endif()
  endforeach()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# The picture's stored form: the class name as a short string, then the JPEG's length and bytes.
length_and_bytes(${BANNER} jpeg)
string(HEX "TJPEGImage" name)
hex_lines("0A${name}${jpeg}" BANNER_DATA)
# The skin as the skin component stores it: its length, then the skin file image.
if(SKIN)
  length_and_bytes(${SKIN} skin)
  hex_lines("${skin}" SKIN_DATA)
endif()
configure_file(${TEMPLATE} ${OUT} @ONLY)
