// Without libFuzzer, a fuzz target is linked with this main: it feeds every file of the given
// corpus folders (or each file given) once to the target's entry point. A broken invariant
// aborts, so the replay fails as a test.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace
{

std::vector<std::filesystem::path> listInputs(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i)
    {
        const std::filesystem::path path(argv[i]);
        if (!std::filesystem::is_directory(path))
        {
            inputs.push_back(path);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(path))
        {
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::string(argv[1]) == "--help")
    {
        std::cout << "Usage: " << argv[0] << " CORPUS...\n"
                  << "Feeds every file of each CORPUS folder (or each file given) once to this fuzz\n"
                  << "target; a broken invariant aborts. Fails when there is nothing to replay.\n";
        return argc < 2 ? 1 : 0;
    }
    const std::vector<std::filesystem::path> inputs = listInputs(argc, argv);
    for (const auto& input : inputs)
    {
        std::ifstream file(input, std::ios::binary);
        if (!file)
        {
            std::cerr << "Cannot read " << input.string() << std::endl;
            return 1;
        }
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::cout << "Replaying " << input.filename().string() << " (" << bytes.size() << " bytes)" << std::endl;
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::cout << inputs.size() << " inputs replayed" << std::endl;
    return inputs.empty() ? 1 : 0;
}
