// Embeds the program image, as written by the host image tool, in the data
// section: the runtime fixes it up in its own copy, but the image stays where
// a data block of the executable belongs. VORN_PROGRAM_IMAGE_PATH is a string
// literal naming the image file.
asm(".section .data\n"
    ".balign 16\n"
    ".globl vorn_program_image\n"
    "vorn_program_image:\n"
    ".incbin \"" VORN_PROGRAM_IMAGE_PATH "\"\n"
    ".globl vorn_program_image_end\n"
    "vorn_program_image_end:\n"
    ".byte 0\n"
    ".text\n");
