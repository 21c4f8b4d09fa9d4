# The Windows libraries are static (scripts/windows/build-deps.sh): their headers
# must not declare DLL imports, and what they use of the system and of each other
# is linked explicitly, since CMake's find modules name only the library itself.
target_compile_definitions(LibXml2::LibXml2 INTERFACE LIBXML_STATIC)
target_link_libraries(LibXml2::LibXml2 INTERFACE ICU::i18n ICU::uc ICU::data ws2_32)
target_compile_definitions(CURL::libcurl INTERFACE CURL_STATICLIB)
target_link_libraries(CURL::libcurl INTERFACE ws2_32 crypt32 bcrypt iphlpapi z)
target_compile_definitions(LibArchive::LibArchive INTERFACE LIBARCHIVE_STATIC)
target_link_libraries(LibArchive::LibArchive INTERFACE z bcrypt)
foreach(component uc i18n data)
  target_compile_definitions(ICU::${component} INTERFACE U_STATIC_IMPLEMENTATION)
endforeach()
target_link_libraries(ICU::uc INTERFACE ICU::data advapi32)
target_compile_definitions(PkgConfig::PCRE2 INTERFACE PCRE2_STATIC)
