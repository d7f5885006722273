x = 5
x.Foo ' expect error 424: Object required: 'x'
