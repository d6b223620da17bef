# A Windows program gets its command line and the narrow names it hands to the C library in the
# ANSI code page unless its manifest asks for UTF-8 (Windows 10 1903 and later, and Wine), which
# keeps non-ASCII file names whole as on every other system.
function(korvana_use_utf8_code_page target)
  if(NOT WIN32)
    return()
  endif()
  if(MSVC)
    # The MSVC linker merges a .manifest source into the manifest it writes itself.
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/utf8-code-page.manifest)
  else()
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/utf8-code-page.rc)
  endif()
endfunction()
