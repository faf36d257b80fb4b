# Compile settings shared by every target of the project.
add_library(charloom_cfg INTERFACE)
target_compile_features(charloom_cfg INTERFACE cxx_std_20)
target_compile_options(charloom_cfg INTERFACE -Wall -Wextra -Wpedantic -Wold-style-cast)
if(CHARLOOM_WERROR)
    target_compile_options(charloom_cfg INTERFACE -Werror)
endif()
target_compile_definitions(charloom_cfg INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    CHARLOOM_VERSION="${PROJECT_VERSION}")
if(CHARLOOM_SANITIZE)
    target_compile_options(charloom_cfg INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
        -D_GLIBCXX_ASSERTIONS)
    target_link_options(charloom_cfg INTERFACE -fsanitize=address,undefined)
endif()
