// Program start-up, the frame loop driver and shutdown.
#pragma once

int shell_main(int argc, char** argv);
