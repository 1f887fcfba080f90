// Types of a file or a function of their own are no concern.
namespace {
struct Holder { int a; };
struct Case { int in, out; };
}  // namespace

void Run()
{
    struct Case {
        int x;
    };
    auto f = [] { struct Mode { }; return 0; };
}

TEST(Suite, Name)
{
    enum class Tagged { kA };
}
