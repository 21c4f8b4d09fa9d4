# The third-party libraries as header-only targets for MORVEL_COMPILE_CHECK: the
# core's sources compile against the headers in MORVEL_HEADERS_DIR (the Linux
# packages' headers, which are the same for every platform but for libxml2's
# configured options), and nothing is linked.
if(NOT MORVEL_HEADERS_DIR)
  message(FATAL_ERROR "MORVEL_COMPILE_CHECK needs MORVEL_HEADERS_DIR")
endif()
foreach(target LibXml2::LibXml2 CURL::libcurl LibArchive::LibArchive ICU::uc ICU::i18n ICU::data
               Boost::headers PkgConfig::PCRE2)
  add_library(${target} INTERFACE IMPORTED)
  target_include_directories(${target} SYSTEM INTERFACE ${MORVEL_HEADERS_DIR})
endforeach()
target_compile_definitions(LibXml2::LibXml2 INTERFACE LIBXML_STATIC)
target_compile_definitions(CURL::libcurl INTERFACE CURL_STATICLIB)
target_compile_definitions(LibArchive::LibArchive INTERFACE LIBARCHIVE_STATIC)
target_compile_definitions(ICU::uc INTERFACE U_STATIC_IMPLEMENTATION)
target_compile_definitions(PkgConfig::PCRE2 INTERFACE PCRE2_STATIC)
