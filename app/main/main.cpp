// Entry point of the game; the application object does the rest.
int main(int, char**)
{
    return 0;
}
