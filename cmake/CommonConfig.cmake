# Settings every target of the project shares, in one place.
add_library(kontaro_options INTERFACE)
target_compile_features(kontaro_options INTERFACE cxx_std_20)
target_compile_definitions(kontaro_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS)
target_compile_options(kontaro_options INTERFACE -Wall -Wextra -Wpedantic)
if(KONTARO_WERROR)
    target_compile_options(kontaro_options INTERFACE -Werror)
endif()
if(KONTARO_SANITIZE)
    target_compile_options(kontaro_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(kontaro_options INTERFACE -fsanitize=address,undefined)
endif()
