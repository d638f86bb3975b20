// The program is built without exceptions, so the C++ runtime's throwing paths can only end the
// process. Defining them here keeps libstdc++'s exception classes, the unwinder glue and the
// name demangler of its verbose terminate handler (together over half of the executable) out of
// the static link. Only a failed allocation or a broken library invariant could reach them.
#include <cstddef>
#include <cstdlib>
#include <new>

// The replaceable global allocation functions, without the std::bad_alloc that the library's
// own versions would throw.
void* operator new(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        std::abort();
    }
    return memory;
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}

namespace std {

[[noreturn]] void __throw_bad_alloc() {
    abort();
}
[[noreturn]] void __throw_bad_array_new_length() {
    abort();
}
[[noreturn]] void __throw_length_error(const char* /*what*/) {
    abort();
}
[[noreturn]] void __throw_logic_error(const char* /*what*/) {
    abort();
}
[[noreturn]] void __throw_out_of_range_fmt(const char* /*format*/, ...) {
    abort();
}
[[noreturn]] void __glibcxx_assert_fail(const char* /*file*/,
                                        int /*line*/,
                                        const char* /*function*/,
                                        const char* /*condition*/) noexcept {
    abort();
}

}  // namespace std

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() {
    abort();
}

}  // namespace __gnu_cxx
